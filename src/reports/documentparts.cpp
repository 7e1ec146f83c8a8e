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

std::vector<ReportElement> HeadEntries(std::initializer_list<HeadEntry> entries, const ReportFont &captionFont,
                                       const ReportFont &valueFont)
{
    std::vector<ReportElement> elements;
    for (const HeadEntry &entry : entries) {
        elements.push_back(Label(entry.at.x(), entry.at.y(), entry.caption, captionFont));
        elements.push_back(WithFont(entry.value, valueFont));
    }
    return elements;
}

std::vector<ReportElement> InvoiceHead(double codeLabelTop, const DocumentHeading &heading,
                                       std::initializer_list<HeadEntry> parties)
{
    using namespace DocumentFont;
    return Join({CooperativeDetails(codeLabelTop),
                 {Label(heading.at.x(), heading.at.y(), heading.text, InvoiceHeading),
                  Label(heading.captionAt.x(), heading.captionAt.y(), heading.caption, InvoiceDate),
                  WithFont(heading.date, InvoiceDate)},
                 HeadEntries(parties, PartyLabel, Party)});
}

std::vector<ReportElement> ActHead(QPointF enterprise, QPointF enterpriseCaption, const DocumentHeading &heading)
{
    using namespace DocumentFont;
    return Join({EnterpriseLine(enterprise, enterpriseCaption),
                 {Label(heading.at.x(), heading.at.y(), heading.text, ActHeading),
                  Label(heading.captionAt.x(), heading.captionAt.y(), heading.caption, NavyBold),
                  WithFont(heading.date, NavyBold)}});
}

namespace {

std::vector<ReportElement> cells(const DocumentTable &table, double top, double height, QColor fill)
{
    std::vector<ReportElement> elements;
    for (const TableColumn &column : table.columns)
        elements.push_back(Rectangle(column.left, top, column.width, height, fill));
    return elements;
}

} // namespace

std::vector<ReportElement> TableHeader(const DocumentTable &table)
{
    std::vector<ReportElement> elements = cells(table, table.headerTop, table.headerHeight, Silver);
    for (const TableColumn &column : table.columns)
        elements.push_back(OnFill(WithFont(column.heading, table.headingFont), Silver));
    return elements;
}

std::vector<ReportElement> TableRow(const DocumentTable &table)
{
    std::vector<ReportElement> elements = cells(table, table.rowTop, table.rowHeight, Qt::white);
    for (const TableColumn &column : table.columns)
        elements.push_back(column.cell);
    return elements;
}

ReportLayout TabularLayout(TabularDocument document)
{
    return {
        .name = std::move(document.name),
        .title = {document.head.height, Join({document.head.elements, TableHeader(document.table)})},
        .detailQuery = document.lines,
        .detail = {document.lineHeight, TableRow(document.table)},
        .summary = std::move(document.summary),
    };
}

std::vector<ReportElement> MoneyTotals(MoneyColumns columns, std::initializer_list<MoneyTotal> totals,
                                       const ReportFont &font)
{
    std::vector<ReportElement> elements;
    for (const MoneyTotal &total : totals) {
        elements.push_back(Label(columns.caption, total.top, total.caption, font));
        elements.push_back(Expression(columns.figure, total.top, total.expression, font));
        elements.push_back(Label(columns.unit, total.top, u"грн."_s, font));
    }
    return elements;
}

std::vector<ReportElement> GoodsCount(GoodsCountPlaces places, const QString &quantityExpression)
{
    return {Label(places.captionX, 2.1, u"Всього:"_s),
            Expression(places.countX, 2.4, u"COUNT"_s),
            Label(places.namesX, 2.1, u"найменувань товарів"_s),
            Label(places.captionX, 8.5, u"Загальна кількість:"_s),
            Expression(places.quantity.x(), places.quantity.y(), quantityExpression)};
}

std::vector<ReportElement> Join(std::initializer_list<std::vector<ReportElement>> groups)
{
    std::vector<ReportElement> elements;
    for (const auto &group : groups)
        elements.insert(elements.end(), group.begin(), group.end());
    return elements;
}

} // namespace coop
