#include "reportfixture.h"

using namespace coop;

ReportFixture::ReportFixture() : header(connection), lines(connection)
{
    database.exec(QStringLiteral(
        "CREATE TABLE rpt_header (Id INT PRIMARY KEY, Postachalnuk VARCHAR(60), DataPostachannya DATE);"
        "CREATE TABLE rpt_lines (Id INT AUTO_INCREMENT PRIMARY KEY, Nazva VARCHAR(60), Kilkist DOUBLE, Cina DOUBLE);"
        "INSERT INTO rpt_header VALUES (1, 'ПП Промінь', '2011-05-01'), (2, 'ТОВ «Зоря»', '2011-05-12'),"
        " (3, 'ФОП Коваль', '2011-06-30')"));

    header.sql().add(QStringLiteral("Select Postachalnuk, DataPostachannya from rpt_header order by Id"));
    header.addField({QStringLiteral("Postachalnuk"), FieldType::String, 60});
    header.addField({QStringLiteral("DataPostachannya"), FieldType::Date});

    lines.sql().add(QStringLiteral("Select Nazva, Kilkist, Cina from rpt_lines order by Id"));
    lines.addField({QStringLiteral("Nazva"), FieldType::String, 60});
    Field *kilkist = lines.addField({QStringLiteral("Kilkist"), FieldType::Float});
    Field *cina = lines.addField({QStringLiteral("Cina"), FieldType::Float});
    FieldDef sumDef{QStringLiteral("Suma"), FieldType::Float};
    sumDef.kind = FieldKind::Calculated;
    Field *suma = lines.addField(sumDef);
    QObject::connect(&lines, &Query::calcFields, &lines,
                     [=] { suma->setValue(kilkist->asFloat() * cina->asFloat()); });
}

void ReportFixture::addLines(const QList<std::pair<double, double>> &values)
{
    QStringList rows;
    for (const auto &[kilkist, cina] : values)
        rows << QStringLiteral("('Товар %1', %2, %3)").arg(++m_lineCount).arg(kilkist, 0, 'g', 17).arg(cina, 0, 'g', 17);
    database.exec(QStringLiteral("INSERT INTO rpt_lines (Nazva, Kilkist, Cina) VALUES ") + rows.join(u','));
}

void ReportFixture::addNumberedLines(int count)
{
    QList<std::pair<double, double>> values;
    for (int i = 1; i <= count; ++i)
        values.append({m_lineCount + i, 1});
    addLines(values);
}

void ReportFixture::open()
{
    header.open();
    header.next();
    lines.open();
}

ReportLayout ReportFixture::layout()
{
    const ReportFont title{.family = QStringLiteral("Arial Narrow"), .points = 16, .bold = true, .colour = Navy};
    const ReportFont date{.points = 12, .bold = true, .colour = Navy};
    const ReportFont bold{.points = 11, .bold = true};
    const ReportFont cellHeading{.bold = true};
    struct Column { double left, width; QString heading; };
    const Column columns[Columns] = {{4.2, 53.2, QStringLiteral("Товар")},
                                     {57.4, 38.4, QStringLiteral("Кількість")},
                                     {95.8, 32.0, QStringLiteral("Ціна, грн.")},
                                     {127.8, 27.8, QStringLiteral("Сума, грн.")},
                                     {155.6, 32.0, QStringLiteral("Сума з ПДВ")}};
    auto centre = [&](int i) { return columns[i].left + columns[i].width / 2; };

    ReportLayout layout{.name = QStringLiteral("Накладна"), .detailQuery = &lines};
    layout.title = {TitleHeight,
                    {Label(10, 5, QStringLiteral("Накладна №________"), title),
                     Label(120, 6, QStringLiteral("від:"), date),
                     SystemDate(130, 6, date),
                     Label(6.3, 15, QStringLiteral("Постачальник:"), bold),
                     DataText(40.2, 15, &header, QStringLiteral("Postachalnuk"), {.points = 11}),
                     Label(6.3, 22, QStringLiteral("Постачання від:"), bold),
                     DataText(40.2, 22, &header, QStringLiteral("DataPostachannya"), {.points = 11}),
                     Label(120, 22, QStringLiteral("Надруковано:")),
                     SystemDateTime(145, 22)}};
    for (int i = 0; i < Columns; ++i)
        layout.title.elements.push_back(Rectangle(columns[i].left, 33.4, columns[i].width, 6.6, Silver));
    for (int i = 0; i < Columns; ++i)
        layout.title.elements.push_back(OnFill(CentredLabel(centre(i), 34.2, columns[i].heading, cellHeading), Silver));

    layout.detail.height = RowHeight;
    for (int i = 0; i < Columns; ++i)
        layout.detail.elements.push_back(Rectangle(columns[i].left, 0, columns[i].width, RowHeight + 0.3));
    layout.detail.elements.insert(layout.detail.elements.end(),
                                  {DataText(6.3, 0.8, nullptr, QStringLiteral("Nazva")),
                                   Centred(DataText(centre(1), 0.8, nullptr, QStringLiteral("Kilkist"))),
                                   Centred(DataText(centre(2), 0.8, nullptr, QStringLiteral("Cina"))),
                                   Centred(Expression(centre(3), 0.8, QStringLiteral("Kilkist * Cina"))),
                                   Centred(Expression(centre(4), 1.1, QStringLiteral("Suma * 1.2")))});

    layout.summary = {SummaryHeight,
                      {Rectangle(4.2, 0, 183.4, 0.3),
                       Label(6.3, 2.1, QStringLiteral("Всього:")),
                       Expression(20.1, 2.4, QStringLiteral("COUNT")),
                       Label(27.5, 2.1, QStringLiteral("найменувань")),
                       Label(95.2, 2.1, QStringLiteral("Загальна кількість:")),
                       Expression(139.7, 2.1, QStringLiteral("Sum(kilkist)")),
                       Label(95.2, 8.5, QStringLiteral("Сума з ПДВ:")),
                       Expression(139.7, 8.5, QStringLiteral("SUM(Suma) * 1.2")),
                       Label(152.4, 8.5, QStringLiteral("грн.")),
                       Label(21.2, 20, QStringLiteral("Отримав: ______________"))}};
    return layout;
}
