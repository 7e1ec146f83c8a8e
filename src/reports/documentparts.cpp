#include "reports/documentparts.h"

using namespace Qt::StringLiterals;

namespace coop {

QString CooperativeName()
{
    return u"Мироланське споживче товаритсво"_s;
}

std::vector<ReportElement> CooperativeDetails(double codeLabelTop)
{
    return {Label(6.3, 5.8, u"Підприємство:"_s),
            Label(31.8, 5.8, CooperativeName()),
            Label(110.1, codeLabelTop, u"Код ЄДРПОУ:"_s),
            Label(135.5, 5.8, u"24681357"_s),
            Label(6.3, 12.2, u"Форма власності:"_s),
            Label(38.1, 12.2, u"колективна"_s),
            Label(110.1, 12.2, u"Назва банку:"_s),
            Label(135.5, 12.2, u"Ощадбанк"_s),
            Label(6.3, 18.5, u"Галузь (вид діяльності):"_s),
            Label(46.6, 18.5, u"торгівля"_s),
            Label(110.1, 18.5, u"№ п/рахунку:"_s),
            Label(135.5, 18.5, u"100200300400"_s),
            Label(6.3, 24.9, u"Адреса:"_s),
            Label(21.2, 24.9, u"смт. Миролань, вул.Садова, 12"_s),
            Label(110.1, 24.9, u"Код банку:"_s),
            Label(135.5, 24.9, u"305299"_s),
            Label(6.3, 31.2, u"тел.:"_s),
            Label(16.9, 31.2, u"(048-21)-3-52-74"_s)};
}

std::vector<ReportElement> EnterpriseLine(QPointF name, QPointF caption)
{
    return {Label(name.x(), name.y(), CooperativeName(), DocumentFont::Underlined),
            Label(caption.x(), caption.y(), u"(підприємство)"_s)};
}

std::vector<ReportElement> TableCells(const std::vector<TableColumn> &columns, double top, double height, QColor fill)
{
    std::vector<ReportElement> cells;
    for (const TableColumn &column : columns)
        cells.push_back(Rectangle(column.left, top, column.width, height, fill));
    return cells;
}

ReportElement OnHeaderCell(ReportElement text)
{
    return OnFill(std::move(text), Silver);
}

std::vector<ReportElement> Join(std::initializer_list<std::vector<ReportElement>> groups)
{
    std::vector<ReportElement> elements;
    for (const auto &group : groups)
        elements.insert(elements.end(), group.begin(), group.end());
    return elements;
}

} // namespace coop
