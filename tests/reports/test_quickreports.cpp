// The five printed documents over the queries of their screens: the texts and totals of their
// examples, the head read from the header current on the screen, positions in millimetres, the
// table grid, rows flowing onto further pages, the shop audit act's date filter, the preview.
#include "data/format.h"
#include "documentreading.h"
#include "reports/reportbuilder.h"
#include "reports/reportpainter.h"
#include "reports/reportpreview.h"
#include "screenqueries.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace coop;

using Line = ScreenQueries::Line;
using Lines = ScreenQueries::Lines;
Q_DECLARE_METATYPE(ScreenQueries::Line)

namespace {

int elementsPerRow(const ReportLayout &layout, bool shapes)
{
    return int(std::count_if(layout.detail.elements.begin(), layout.detail.elements.end(),
                             [&](const ReportElement &e) { return (e.kind == ElementKind::Shape) == shapes; }));
}

// Each printed row as its column texts joined by "|".
QStringList detailRows(const ReportDocument &document, const ReportLayout &layout)
{
    const QStringList texts = textsOf(document, BandKind::Detail);
    const int perRow = elementsPerRow(layout, false);
    QStringList rows;
    for (qsizetype i = 0; i + perRow <= texts.size(); i += perRow)
        rows << texts.mid(i, perRow).join(u'|');
    return rows;
}

QStringList summaryFigures(const ReportDocument &document)
{
    QStringList figures;
    for (const PlacedElement *element : elementsOf(document, BandKind::Summary))
        if (element->kind == ElementKind::Expression)
            figures << element->text;
    return figures;
}

Lines numberedLines(int count)
{
    Lines lines;
    for (int i = 1; i <= count; ++i)
        lines.append({QStringLiteral("Товар %1").arg(i), double(i), 1});
    return lines;
}

bool near(double actual, double expected, double tolerance) { return qAbs(actual - expected) <= tolerance; }

} // namespace

class TestQuickReports : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScreenQueries> m_screens;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString pdfPath() const { return m_dir->filePath(QStringLiteral("document.pdf")); }

    ReportDocument render(int number)
    {
        const ReportDocument document = RenderToPdf(m_screens->document(number).layout(), pdfPath());
        // To look at what the tests printed: COOP_KEEP_DOCUMENTS=<directory>.
        if (const QString keep = qEnvironmentVariable("COOP_KEEP_DOCUMENTS"); !keep.isEmpty()) {
            QString name = QStringLiteral("%1-%2-%3.pdf").arg(number).arg(QString::fromUtf8(QTest::currentTestFunction()),
                                                                           QString::fromUtf8(QTest::currentDataTag()));
            name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
            QFile::remove(QDir(keep).filePath(name));
            QFile::copy(pdfPath(), QDir(keep).filePath(name));
        }
        return document;
    }

private slots:
    void init()
    {
        m_screens = std::make_unique<ScreenQueries>();
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_screens.reset();
        m_dir.reset();
    }

    void printsTheExamples_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("figures"); // the summary's expressions, in order
        QTest::addColumn<QStringList>("pdfLines"); // patterns of lines of the PDF's text; {date}: the printing date

        QTest::newRow("receipt invoice, 2 at 50")
            << 17 << Lines{{QStringLiteral("Цукор"), 2, 50}} << QStringList{QStringLiteral("Цукор|2|50|100|120")} << QStringList{QStringLiteral("100"), QStringLiteral("20"), QStringLiteral("120")}
            << QStringList{QStringLiteral("Підприємство:\\s+Мироланське споживче товаритсво\\s+Код ЄДРПОУ:\\s+24681357"),
                           QStringLiteral("тел\\.:\\s+\\(048-21\\)-3-52-74"),
                           QStringLiteral("Прибуткова накладна №_+"), QStringLiteral("від:\\s+{date}$"),
                           QStringLiteral("Виконавець:\\s+ТОВ «Зоря»"), QStringLiteral("Замовник:\\s+Мироланське споживче товаритсво"),
                           QStringLiteral("Постачання від:\\s+12\\.05\\.2011"),
                           QStringLiteral("Товар\\s+Кількість\\s+Ціна, грн\\.\\s+Сума, грн\\.\\s+Сума з ПДВ, грн\\."),
                           QStringLiteral("Цукор\\s+2\\s+50\\s+100\\s+120$"),
                           QStringLiteral("Всього отримано на суму:\\s+100\\s+грн\\."), QStringLiteral("В тому числі ПДВ:\\s+20\\s+грн\\."),
                           QStringLiteral("^\\s*Всього:\\s+120\\s+грн\\."),
                           QStringLiteral("Доставив: _+\\s+Отримав: _+")};
        QTest::newRow("receipt invoice, unrounded")
            << 17 << Lines{{QStringLiteral("Борошно"), 1, 0.333}, {QStringLiteral("Олія"), 2, 12.5}}
            << QStringList{QStringLiteral("Борошно|1|0,333|0,333|0,3996"), QStringLiteral("Олія|2|12,5|25|30")} << QStringList{QStringLiteral("25,333"), QStringLiteral("5,0666"), QStringLiteral("30,3996")}
            << QStringList{};
        QTest::newRow("transfer invoice, 3 at 2,5")
            << 18 << Lines{{QStringLiteral("Цукор"), 3, 2.5}} << QStringList{QStringLiteral("Цукор|3|2,5|8")} << QStringList{QStringLiteral("8")}
            << QStringList{QStringLiteral("Накладна на внутрішнє переміщення №_+"), QStringLiteral("від:\\s+{date}$"),
                           QStringLiteral("Звідки:\\s+Склад товарів\\s+Куди:\\s+Магазин №3 «Колос»"),
                           QStringLiteral("Назва товару\\s+Кількість\\s+Ціна, грн\\.\\s+Сума, грн\\."),
                           QStringLiteral("Цукор\\s+3\\s+2,5\\s+8$"), QStringLiteral("Всього:\\s+8\\s+грн\\."), QStringLiteral("Видав: _+\\s+Отримав: _+")};
        // The total adds the whole sums the rows show (8 + 4), not the products (7,5 + 3,5).
        QTest::newRow("transfer invoice, whole sums")
            << 18 << Lines{{QStringLiteral("Цукор"), 3, 2.5}, {QStringLiteral("Гречка"), 1, 3.5}} << QStringList{QStringLiteral("Цукор|3|2,5|8"), QStringLiteral("Гречка|1|3,5|4")}
            << QStringList{QStringLiteral("12")} << QStringList{};
        QTest::newRow("stock card, three rows")
            << 19 << Lines{{QStringLiteral("Цукор"), 2}, {QStringLiteral("Гречка"), 3.5}, {QStringLiteral("Олія"), 10}} << QStringList{QStringLiteral("Цукор|2"), QStringLiteral("Гречка|3,5"), QStringLiteral("Олія|10")}
            << QStringList{QStringLiteral("3"), QStringLiteral("15,5")}
            << QStringList{QStringLiteral("^\\s*Мироланське споживче товаритсво$"), QStringLiteral("^\\s*\\(підприємство\\)$"),
                           QStringLiteral("Картка № _+ складського обліку товарів"),
                           QStringLiteral("станом на\\s+{date} \\d{1,2}:\\d\\d:\\d\\d$"), QStringLiteral("Назва товару\\s+Кількість на складі"),
                           QStringLiteral("Гречка\\s+3,5$"), QStringLiteral("Всього:\\s+3\\s+найменувань товарів"), QStringLiteral("Загальна кількість:\\s+15,5$")};
        QTest::newRow("stock card, empty")
            << 19 << Lines{} << QStringList{QStringLiteral("|")} << QStringList{QStringLiteral("0"), QStringLiteral("0")}
            << QStringList{QStringLiteral("Всього:\\s+0\\s+найменувань товарів"), QStringLiteral("Загальна кількість:\\s+0$")};
        QTest::newRow("shop audit act")
            << 20 << Lines{{QStringLiteral("Цукор"), 12}, {QStringLiteral("Олія"), 3.5}} << QStringList{QStringLiteral("Цукор|12"), QStringLiteral("Олія|3,5")} << QStringList{}
            << QStringList{QStringLiteral("^\\s*Мироланське споживче товаритсво$"), QStringLiteral("Акт ревізії № _+"), QStringLiteral("станом на\\s+{date}$"),
                           QStringLiteral("Місце ревізії:\\s+Магазин №3 «Колос»$"), QStringLiteral("Назва товару\\s+Кількість наявна"),
                           QStringLiteral("Олія\\s+3,5$")};
        QTest::newRow("base audit act")
            << 21 << Lines{{QStringLiteral("Цукор"), 4, 2.5}, {QStringLiteral("Олія"), 1, 10}} << QStringList{QStringLiteral("Цукор|4|2,5|10"), QStringLiteral("Олія|1|10|10")}
            << QStringList{QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("20")}
            << QStringList{QStringLiteral("^\\s*Мироланське споживче товаритсво$"), QStringLiteral("Акт ревізії № _+\\s+від:\\s+{date}$"),
                           QStringLiteral("Перевіряючий:\\s+Коваль Петро Іванович\\s+На підставі:\\s+Наказ 12$"),
                           QStringLiteral("Дата перевірки:\\s+30\\.06\\.2011\\s+Місце перевірки:\\s+Склад товарів$"),
                           QStringLiteral("Назва товару\\s+Кількість фактична\\s+Ціна облікова\\s+Сума$"),
                           QStringLiteral("Всього:\\s+2\\s+найменувань товарів"), QStringLiteral("Загальна кількість:\\s+5$"),
                           QStringLiteral("Товарів на суму:\\s+20\\s+грн\\.")};
    }
    void printsTheExamples()
    {
        QFETCH(int, number);
        QFETCH(Lines, lines);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, figures);
        QFETCH(QStringList, pdfLines);
        m_screens->show(number, lines);
        const ReportLayout &layout = m_screens->document(number).layout();
        const ReportDocument document = render(number);

        QCOMPARE(detailRows(document, layout), rows);
        QCOMPARE(document.detailRows, int(lines.size()));
        // An empty query still prints one row of empty cells.
        QCOMPARE(int(elementsOf(document, BandKind::Detail, true).size()),
                 elementsPerRow(layout, true) * std::max(1, int(lines.size())));
        QCOMPARE(summaryFigures(document), figures);

        const QString text = pdfText(pdfPath());
        const QString printed = QRegularExpression::escape(LocaleDateText(document.printedAt.date()));
        for (QString pattern : pdfLines)
            QVERIFY2(hasLine(text, pattern.replace(QStringLiteral("{date}"), printed)), qPrintable(pattern + u'\n' + text));
    }

    // Where elements stand on the page, in millimetres from its corner, in the engine's list and
    // in the PDF. Each document prints one line: 3 of "Цукор" at 7.
    void positions_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("anchor"); // the left edge's top, or the centre's top for centred texts
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QString>("pdfWord"); // a word of the text found once in the PDF; empty: not looked up

        QTest::newRow("17 party") << 17 << "Виконавець:" << QPointF(16.6, 62.4) << false << "Виконавець:";
        QTest::newRow("17 heading cell") << 17 << "Кількість" << QPointF(85.8, 92.0) << true << "Кількість";
        QTest::newRow("17 last heading cell") << 17 << "Сума з ПДВ, грн." << QPointF(165.6, 92.0) << false << "ПДВ,";
        QTest::newRow("17 row") << 17 << "Цукор" << QPointF(16.3, 98.4) << false << "Цукор";
        QTest::newRow("17 row with VAT") << 17 << "25,2" << QPointF(180.1, 98.7) << true << "25,2";
        QTest::newRow("17 summary") << 17 << "Всього отримано на суму:" << QPointF(105.2, 106.0) << false << "отримано";
        QTest::newRow("18 shop") << 18 << "Куди:" << QPointF(120.3, 62.9) << false << "Куди:";
        QTest::newRow("18 heading cell") << 18 << "Сума, грн." << QPointF(169.8, 72.7) << false << "Сума,";
        QTest::newRow("18 row") << 18 << "Цукор" << QPointF(14.5, 79.8) << false << "Цукор";
        QTest::newRow("18 row sum") << 18 << "21" << QPointF(177.9, 78.5) << true << "21";
        QTest::newRow("18 signature") << 18 << "Видав: ____________________" << QPointF(41.8, 97.5) << false << "Видав:";
        QTest::newRow("19 as of") << 19 << "станом на" << QPointF(86.2, 39.6) << false << "станом";
        QTest::newRow("19 heading cell") << 19 << "Кількість на складі" << QPointF(127.7, 52.3) << false << "складі";
        QTest::newRow("19 row") << 19 << "Цукор" << QPointF(31.2, 57.7) << false << "Цукор";
        QTest::newRow("19 row quantity") << 19 << "3" << QPointF(143.2, 57.4) << true << ""; // the total is 3 too
        QTest::newRow("19 summary") << 19 << "Загальна кількість:" << QPointF(12.1, 71.2) << false << "Загальна";
        QTest::newRow("20 place") << 20 << "Місце ревізії:" << QPointF(35.4, 39.6) << false << "Місце";
        QTest::newRow("20 heading cell") << 20 << "Кількість наявна" << QPointF(133.0, 48.1) << false << "наявна";
        QTest::newRow("20 row") << 20 << "Цукор" << QPointF(35.4, 57.3) << false << "Цукор";
        QTest::newRow("20 row quantity") << 20 << "3" << QPointF(147.5, 57.1) << true << "3";
        QTest::newRow("21 audit date") << 21 << "Дата перевірки:" << QPointF(20.6, 50.2) << false << "Дата";
        QTest::newRow("21 heading cell") << 21 << "Ціна облікова" << QPointF(133.8, 61.6) << false << "облікова";
        QTest::newRow("21 row") << 21 << "Цукор" << QPointF(16.3, 70.0) << false << "Цукор";
        QTest::newRow("21 row sum") << 21 << "21" << QPointF(181.8, 70.0) << true << "";
        QTest::newRow("21 summary") << 21 << "Товарів на суму:" << QPointF(16.3, 91.2) << false << "Товарів";
    }
    void positions()
    {
        QFETCH(int, number);
        QFETCH(QString, text);
        QFETCH(QPointF, anchor);
        QFETCH(bool, centred);
        QFETCH(QString, pdfWord);
        m_screens->show(number, {{QStringLiteral("Цукор"), 3, 7}});
        const ReportDocument document = render(number);

        const PlacedElement &element = elementWithText(document, text);
        const QPointF placed(centred ? element.box.center().x() : element.box.left(), element.box.top());
        QVERIFY2(near(placed.x(), anchor.x(), 1e-9) && near(placed.y(), anchor.y(), 1e-9),
                 qPrintable(QStringLiteral("%1, %2").arg(placed.x()).arg(placed.y())));
        if (pdfWord.isEmpty())
            return;
        const QRectF word = pdfWordBoxMm(pdfPath(), pdfWord);
        QVERIFY2(!word.isEmpty(), qPrintable(pdfWord));
        // A word inside a longer text only has its top to compare.
        if (pdfWord == text)
            QVERIFY2(near(centred ? word.center().x() : word.left(), anchor.x(), 0.3), qPrintable(QString::number(word.left())));
        QVERIFY2(near(word.top(), anchor.y(), 0.1), qPrintable(QString::number(word.top())));
    }

    // The header cells and the rows' cells form one grid: the same columns, edge to edge, each row
    // meeting the one above, the texts inside their rows, and a closing rule as wide as the table.
    void tableGridIsClosed_data()
    {
        QTest::addColumn<int>("number");
        for (int number = 17; number <= 21; ++number)
            QTest::addRow("%d", number) << number;
    }
    void tableGridIsClosed()
    {
        QFETCH(int, number);
        m_screens->show(number, numberedLines(3));
        const ReportLayout &layout = m_screens->document(number).layout();
        const ReportDocument document = BuildReport(layout);

        std::vector<QRectF> header;
        for (const PlacedElement *shape : elementsOf(document, BandKind::Title, true))
            if (shape->fill == Silver)
                header.push_back(shape->box);
        const size_t columns = size_t(elementsPerRow(layout, true));
        QCOMPARE(header.size(), columns);
        for (size_t c = 0; c + 1 < columns; ++c)
            QVERIFY2(header[c].right() >= header[c + 1].left() - 1e-9 && header[c].right() - header[c + 1].left() < 0.5,
                     qPrintable(QString::number(c)));

        const auto cells = elementsOf(document, BandKind::Detail, true);
        const auto texts = elementsOf(document, BandKind::Detail);
        const size_t perRow = size_t(elementsPerRow(layout, false));
        QCOMPARE(cells.size(), 3 * columns);
        double above = header.front().bottom();
        for (size_t row = 0; row < 3; ++row) {
            const QRectF first = cells[row * columns]->box;
            QVERIFY2(first.top() <= above + 1e-9 && first.top() > above - 1, qPrintable(QString::number(row)));
            for (size_t c = 0; c < columns; ++c) {
                const QRectF cell = cells[row * columns + c]->box;
                QCOMPARE(cell.left(), header[c].left());
                QCOMPARE(cell.width(), header[c].width());
                QCOMPARE(cell.top(), first.top());
                QCOMPARE(cells[row * columns + c]->fill, QColor(Qt::white));
            }
            for (size_t t = 0; t < perRow; ++t) {
                const QRectF box = texts[row * perRow + t]->box;
                QVERIFY2(box.top() >= first.top() && box.bottom() <= first.bottom() + 0.5, qPrintable(texts[row * perRow + t]->text));
                QVERIFY2(box.left() >= header.front().left() && box.right() <= header.back().right(),
                         qPrintable(texts[row * perRow + t]->text));
            }
            above = first.bottom();
        }
        const auto rules = elementsOf(document, BandKind::Summary, true);
        for (const PlacedElement *rule : rules) {
            QCOMPARE(rule->box.height(), 0.3);
            QVERIFY(rule->box.top() <= above + 1e-9);
            QCOMPARE(rule->box.left(), header.front().left());
            QVERIFY2(near(rule->box.right(), header.back().right(), 1e-9), qPrintable(QString::number(rule->box.right())));
        }
    }

    // 200 lines flow onto further pages with no table header repeated; what follows the last line
    // stands on the last page only.
    void flow_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("lastPage"); // a pattern found on the last page alone
        // First page: 30 rows below the 87.6 mm title; then 43 a page; the summary on a page of its own.
        QTest::newRow("receipt invoice") << 17 << 6 << "Всього отримано на суму:\\s+20100\\s+грн\\.";
        QTest::newRow("transfer invoice") << 18 << 5 << "Всього:\\s+20100\\s+грн\\."; // 33, then 43
        QTest::newRow("stock card") << 19 << 5 << "Загальна кількість:\\s+20100$";  // 43, then 52
        QTest::newRow("shop audit act") << 20 << 7 << "Товар 200\\s+200$";          // 27, then 32
        QTest::newRow("base audit act") << 21 << 7 << "Товарів на суму:\\s+20100\\s+грн\\."; // 25, then 32
    }
    void flow()
    {
        QFETCH(int, number);
        QFETCH(int, pages);
        QFETCH(QString, lastPage);
        m_screens->show(number, numberedLines(200));
        const ReportLayout &layout = m_screens->document(number).layout();
        const ReportDocument document = render(number);
        QCOMPARE(int(document.pages.size()), pages);
        QCOMPARE(pdfPages(pdfPath()), pages);

        const QStringList rows = detailRows(document, layout);
        QCOMPARE(rows.size(), 200);
        for (int i = 0; i < 200; ++i)
            QVERIFY2(rows[i].startsWith(QStringLiteral("Товар %1|").arg(i + 1)), qPrintable(rows[i]));
        for (size_t p = 0; p < document.pages.size(); ++p) {
            for (const PlacedElement &element : document.pages[p].elements) {
                if (element.band == BandKind::Title)
                    QCOMPARE(p, size_t(0));
                if (element.band == BandKind::Summary)
                    QCOMPARE(p, document.pages.size() - 1);
                QVERIFY2(element.box.bottom() <= PageHeightMm - PageMarginMm + 0.5, qPrintable(element.text));
            }
        }
        for (int p = 1; p <= pages; ++p) {
            const QString text = pdfText(pdfPath(), p);
            QCOMPARE(text.contains(QStringLiteral("Кількість")), p == 1);
            QCOMPARE(hasLine(text, lastPage), p == pages);
        }
    }

    // The act holds the lines the screen presents: every audit of the shop, or those that pass the
    // screen's date filter.
    void shopAuditActPrintsTheLinesTheScreenPresents_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("two audits") << QString() << QStringList{QStringLiteral("Цукор|12"), QStringLiteral("Олія|3")};
        QTest::newRow("filtered to June") << "Data>='01.06.2011' and Data<='30.06.2011'" << QStringList{QStringLiteral("Олія|3")};
    }
    void shopAuditActPrintsTheLinesTheScreenPresents()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, rows);
        m_screens->show(20, {{QStringLiteral("Цукор"), 12, 5, QDate(2011, 5, 15)}, {QStringLiteral("Олія"), 3, 40, QDate(2011, 6, 30)}});
        if (!filter.isEmpty()) {
            m_screens->form14Query2.setFilter(filter);
            m_screens->form14Query2.setFiltered(true);
        }
        const ReportDocument document = render(20);
        QCOMPARE(detailRows(document, m_screens->quickReport20.layout()), rows);
        for (const QString &row : rows)
            QVERIFY(hasLine(pdfText(pdfPath()), row.split(u'|').join(QStringLiteral("\\s+")) + u'$'));
    }

    // Preview shows the document in the engine's window and returns when it closes; the lines
    // then stand on their last row and the header has not moved.
    void preview_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("caption");
        QTest::newRow("17") << 17 << "Прибуткова накладна";
        QTest::newRow("18") << 18 << "Накладна на внутрішнє переміщення";
        QTest::newRow("19") << 19 << "Картка складського обліку";
        QTest::newRow("20") << 20 << "Акт ревізії магазину";
        QTest::newRow("21") << 21 << "Акт ревізії бази";
    }
    void preview()
    {
        QFETCH(int, number);
        QFETCH(QString, caption);
        m_screens->show(number, numberedLines(3));
        Query &lines = m_screens->linesOf(number);
        QCOMPARE(lines.recNo(), 0);
        const Query *header = m_screens->headerOf(number);
        const int headerRow = header ? header->recNo() : -1;
        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            for (QWidget *window : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<ReportPreviewDialog *>(window); dialog && dialog->isVisible()) {
                    shown << dialog->windowTitle();
                    dialog->reject();
                }
        });
        m_screens->document(number).Preview();
        QCOMPARE(shown, QStringList{caption});
        QCOMPARE(lines.recNo(), 2);
        if (header)
            QCOMPARE(header->recNo(), headerRow);
    }
};

QTEST_MAIN(TestQuickReports)
#include "test_quickreports.moc"
