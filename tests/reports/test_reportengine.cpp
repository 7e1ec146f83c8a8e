// The report engine against real queries: texts and totals, positions on the page (in the
// engine's placed elements and in the PDF itself), rows flowing onto pages, the empty row, the
// walk of the lines query, missing fields, fonts.
#include "data/databaseerror.h"
#include "data/format.h"
#include "documentreading.h"
#include "reportfixture.h"
#include "reports/reportbuilder.h"
#include "reports/reportpainter.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace coop;

using Lines = QList<std::pair<double, double>>;

namespace {

// Each printed row as its column texts joined by "|".
QStringList detailRows(const ReportDocument &document)
{
    const QStringList texts = textsOf(document, BandKind::Detail);
    QStringList rows;
    for (qsizetype i = 0; i + ReportFixture::Columns <= texts.size(); i += ReportFixture::Columns)
        rows << texts.mid(i, ReportFixture::Columns).join(u'|');
    return rows;
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT

    std::unique_ptr<ReportFixture> m_fixture;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString pdfPath() const { return m_dir->filePath(QStringLiteral("report.pdf")); }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ReportFixture>();
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_fixture.reset();
        m_dir.reset();
    }

    void textsAndTotals_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("totals"); // COUNT, Sum(Kilkist), SUM(Suma) * 1.2
        QTest::newRow("one line of 3 at 2,5") << Lines{{3, 2.5}} << QStringList{QStringLiteral("Товар 1|3|2,5|7,5|9")}
                                            << QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("9")};
        QTest::newRow("three lines") << Lines{{2, 1}, {3.5, 2}, {10, 0.1}}
                                     << QStringList{QStringLiteral("Товар 1|2|1|2|2,4"), QStringLiteral("Товар 2|3,5|2|7|8,4"), QStringLiteral("Товар 3|10|0,1|1|1,2")}
                                     << QStringList{QStringLiteral("3"), QStringLiteral("15,5"), QStringLiteral("12")};
        QTest::newRow("unrounded") << Lines{{1, 0.333}, {2, 0.5}} << QStringList{QStringLiteral("Товар 1|1|0,333|0,333|0,3996"), QStringLiteral("Товар 2|2|0,5|1|1,2")}
                                   << QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("1,5996")};
    }
    void textsAndTotals()
    {
        QFETCH(Lines, lines);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, totals);
        m_fixture->addLines(lines);
        m_fixture->open();
        const ReportDocument document = RenderToPdf(m_fixture->layout(), pdfPath());

        QCOMPARE(detailRows(document), rows);
        QCOMPARE(document.detailRows, rows.size());
        const QStringList summary = textsOf(document, BandKind::Summary);
        QCOMPARE(summary, (QStringList{QStringLiteral("Всього:"), totals[0], QStringLiteral("найменувань"), QStringLiteral("Загальна кількість:"), totals[1],
                                       QStringLiteral("Сума з ПДВ:"), totals[2], QStringLiteral("грн."), QStringLiteral("Отримав: ______________")}));

        // The PDF holds the same texts, each row on one line of the page.
        const QString text = pdfText(pdfPath());
        for (const QString &row : rows)
            QVERIFY2(hasLine(text, row.split(u'|').join(QStringLiteral("\\s+"))), qPrintable(row + u'\n' + text));
        QVERIFY(hasLine(text, QStringLiteral("Всього:\\s+%1\\s+найменувань").arg(totals[0])));
        QVERIFY(hasLine(text, QStringLiteral("Сума з ПДВ:\\s+%1\\s+грн\\.").arg(totals[2])));
        QVERIFY(hasLine(text, QStringLiteral("Постачальник:\\s+ТОВ «Зоря»")));
        QVERIFY(hasLine(text, QStringLiteral("Постачання від:\\s+12\\.05\\.2011")));
    }

    void positions()
    {
        m_fixture->addLines({{3, 2.5}, {4, 1}});
        m_fixture->open();
        const ReportDocument document = RenderToPdf(m_fixture->layout(), pdfPath());
        const double rowsTop = PageMarginMm + ReportFixture::TitleHeight;

        // A left-aligned text starts at its position; its box is as wide as its text.
        const PlacedElement &title = elementWithText(document, QStringLiteral("Накладна №________"));
        QCOMPARE(title.box.topLeft(), QPointF(20, 15));
        QVERIFY(title.box.width() > 40 && title.box.width() < 80);
        // A centred text keeps its centre while its box grows with the text.
        const PlacedElement &heading = elementWithText(document, QStringLiteral("Кількість"));
        QCOMPARE(heading.box.center().x(), PageMarginMm + 57.4 + 38.4 / 2);
        QVERIFY(heading.box.width() > 10);
        QCOMPARE(heading.fill, Silver);
        // Rows stand one band height apart, each element at its offset within the band.
        const auto rows = elementsOf(document, BandKind::Detail);
        QCOMPARE(rows.size(), size_t(2 * ReportFixture::Columns));
        QCOMPARE(rows[0]->box.topLeft(), QPointF(PageMarginMm + 6.3, rowsTop + 0.8));
        QCOMPARE(rows[ReportFixture::Columns]->box.top(), rowsTop + ReportFixture::RowHeight + 0.8);
        QCOMPARE(rows[1]->box.center().x(), PageMarginMm + 57.4 + 38.4 / 2);
        const auto cells = elementsOf(document, BandKind::Detail, true);
        QCOMPARE(cells[2]->box, QRectF(PageMarginMm + 95.8, rowsTop, 32.0, 6.6));
        QCOMPARE(cells[2]->fill, QColor(Qt::white));
        // The summary follows the last row; its rule is 0.3 mm high.
        const auto rule = elementsOf(document, BandKind::Summary, true).at(0);
        QCOMPARE(rule->box, QRectF(PageMarginMm + 4.2, rowsTop + 2 * ReportFixture::RowHeight, 183.4, 0.3));

        // Within a band the shapes come first, so texts paint over them.
        const auto &page = document.pages.at(0).elements;
        const auto firstRow = std::find_if(page.begin(), page.end(),
                                           [](const PlacedElement &e) { return e.band == BandKind::Detail; });
        for (int i = 0; i < 2 * ReportFixture::Columns; ++i)
            QCOMPARE((firstRow + i)->kind == ElementKind::Shape, i < ReportFixture::Columns);

        // The PDF puts the words where the engine placed them.
        const QRectF pdfTitle = pdfWordBoxMm(pdfPath(), QStringLiteral("Накладна"));
        QVERIFY2(qAbs(pdfTitle.left() - title.box.left()) < 0.1, qPrintable(QString::number(pdfTitle.left())));
        QVERIFY2(qAbs(pdfTitle.top() - title.box.top()) < 0.1, qPrintable(QString::number(pdfTitle.top())));
        const QRectF pdfHeading = pdfWordBoxMm(pdfPath(), QStringLiteral("Кількість"));
        QVERIFY2(qAbs(pdfHeading.center().x() - heading.box.center().x()) < 0.3,
                 qPrintable(QString::number(pdfHeading.center().x())));
        const QRectF pdfPrice = pdfWordBoxMm(pdfPath(), QStringLiteral("2,5"));
        QVERIFY2(qAbs(pdfPrice.center().x() - rows[2]->box.center().x()) < 0.3,
                 qPrintable(QString::number(pdfPrice.center().x())));
        QVERIFY2(qAbs(pdfPrice.top() - rows[2]->box.top()) < 0.1, qPrintable(QString::number(pdfPrice.top())));
    }

    // Title 40 mm, rows 6.3 mm, summary 30 mm on 277 mm of page: 37 rows on the first page, 43 on
    // each further one.
    void flow_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<int>("pages");
        QTest::newRow("all on one page") << 30 << 1;
        QTest::newRow("summary alone on a new page") << 37 << 2;
        QTest::newRow("200 rows") << 200 << 5;
    }
    void flow()
    {
        QFETCH(int, lineCount);
        QFETCH(int, pages);
        m_fixture->addNumberedLines(lineCount);
        m_fixture->open();
        const ReportDocument document = RenderToPdf(m_fixture->layout(), pdfPath());
        QCOMPARE(int(document.pages.size()), pages);
        QCOMPARE(pdfPages(pdfPath()), pages);

        QStringList expected;
        for (int i = 1; i <= lineCount; ++i)
            expected << QStringLiteral("Товар %1|%1|1|%1|%2").arg(i).arg(LocaleNumberText(i * 1.2));
        QCOMPARE(detailRows(document), expected);

        double top = 0;
        for (size_t p = 0; p < document.pages.size(); ++p) {
            for (const PlacedElement &element : document.pages[p].elements) {
                if (element.band == BandKind::Title)
                    QCOMPARE(p, size_t(0));
                if (element.band == BandKind::Summary)
                    QCOMPARE(p, document.pages.size() - 1);
                // Every row's band ends inside the page's margins; a new page starts at the top.
                if (element.band == BandKind::Detail && element.text.startsWith(u"Товар")) {
                    const double bandTop = element.box.top() - 0.8;
                    QVERIFY(bandTop + ReportFixture::RowHeight <= PageHeightMm - PageMarginMm + 1e-9);
                    QVERIFY(bandTop > top || bandTop == PageMarginMm);
                    top = bandTop;
                }
            }
        }
        QCOMPARE(textsOf(document, BandKind::Summary).at(1), QString::number(lineCount));

        // No page but the first repeats the table header; the totals are on the last page only.
        for (int p = 1; p <= pages; ++p) {
            const QString text = pdfText(pdfPath(), p);
            QCOMPARE(text.contains(QStringLiteral("Кількість")), p == 1);
            QCOMPARE(text.contains(QStringLiteral("Всього:")), p == pages);
        }
    }

    void emptyLinesPrintOneEmptyRow_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::newRow("no rows") << true;
        QTest::newRow("closed query") << false;
    }
    void emptyLinesPrintOneEmptyRow()
    {
        QFETCH(bool, opened);
        if (opened)
            m_fixture->open();
        const ReportDocument document = RenderToPdf(m_fixture->layout(), pdfPath());
        QCOMPARE(document.pages.size(), size_t(1));
        QCOMPARE(document.detailRows, 0);
        QCOMPARE(elementsOf(document, BandKind::Detail, true).size(), size_t(ReportFixture::Columns));
        QCOMPARE(textsOf(document, BandKind::Detail), QStringList(ReportFixture::Columns, QString()));
        const QStringList summary = textsOf(document, BandKind::Summary);
        QCOMPARE(summary.at(1), QStringLiteral("0"));
        QCOMPARE(summary.at(4), QStringLiteral("0"));
        QCOMPARE(summary.at(6), QStringLiteral("0"));
        // The summary stands one (empty) row below the title.
        QCOMPARE(elementsOf(document, BandKind::Summary, true).at(0)->box.top(),
                 PageMarginMm + ReportFixture::TitleHeight + ReportFixture::RowHeight);
        QVERIFY(hasLine(pdfText(pdfPath()), QStringLiteral("Всього:\\s+0\\s+найменувань")));
    }

    void walkLeavesLinesOnTheirLastRow()
    {
        m_fixture->addLines({{1, 1}, {2, 1}, {3, 1}});
        m_fixture->open();
        m_fixture->lines.setRecNo(1);
        QSignalSpy moves(&m_fixture->lines, &Query::currentChanged);
        const ReportLayout layout = m_fixture->layout();

        const ReportDocument first = BuildReport(layout);
        QCOMPARE(m_fixture->lines.recNo(), 2);
        QCOMPARE(m_fixture->header.recNo(), 1);
        QVERIFY(!m_fixture->lines.controlsDisabled());
        // Grids saw no row of the walk, only where it ended.
        QCOMPARE(moves.count(), 1);
        QCOMPARE(moves.at(0).at(0).toInt(), 2);

        // Aggregates start again at zero.
        const ReportDocument second = BuildReport(layout);
        QCOMPARE(textsOf(second, BandKind::Summary), textsOf(first, BandKind::Summary));
        QCOMPARE(textsOf(second, BandKind::Summary).at(4), QStringLiteral("6"));
    }

    void missingFieldStopsBeforeTheWalk_data()
    {
        QTest::addColumn<int>("band"); // BandKind
        QTest::addColumn<int>("kind"); // ElementKind
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("missing");
        QTest::newRow("row field") << int(BandKind::Detail) << int(ElementKind::DataText) << "Nazva2" << "Nazva2";
        QTest::newRow("expression field") << int(BandKind::Detail) << int(ElementKind::Expression) << "Kilkist * Cena" << "Cena";
        QTest::newRow("summed field") << int(BandKind::Summary) << int(ElementKind::Expression) << "SUM(Cena)" << "Cena";
        QTest::newRow("header field") << int(BandKind::Title) << int(ElementKind::DataText) << "Postachalnyk" << "Postachalnyk";
    }
    void missingFieldStopsBeforeTheWalk()
    {
        QFETCH(int, band);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(QString, missing);
        m_fixture->addLines({{1, 1}, {2, 1}, {3, 1}});
        m_fixture->open();
        m_fixture->lines.setRecNo(1);
        ReportLayout layout = m_fixture->layout();
        const ReportElement element{.kind = ElementKind(kind), .text = text,
                                    .query = BandKind(band) == BandKind::Title ? &m_fixture->header : nullptr};
        (BandKind(band) == BandKind::Detail ? layout.detail
         : BandKind(band) == BandKind::Title ? layout.title : layout.summary).elements.push_back(element);
        try {
            BuildReport(layout);
            QFAIL("built");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("Field '%1' not found").arg(missing));
        }
        QCOMPARE(m_fixture->lines.recNo(), 1);
        QVERIFY(!m_fixture->lines.controlsDisabled());
    }

    void systemData()
    {
        m_fixture->open();
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const ReportDocument document = BuildReport(m_fixture->layout());
        const QDateTime after = QDateTime::currentDateTime();
        const QStringList title = textsOf(document, BandKind::Title);
        const QString date = title.at(2);
        QVERIFY2(date == LocaleDateText(before.date()) || date == LocaleDateText(after.date()), qPrintable(date));
        const QString dateTime = title.at(8);
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d{1,2}:\\d\\d:\\d\\d$")).match(dateTime).hasMatch(),
                 qPrintable(dateTime));
        const QDateTime printed = QDateTime::fromString(dateTime, QStringLiteral("dd.MM.yyyy H:mm:ss"));
        QVERIFY2(printed >= before && printed <= after, qPrintable(dateTime));
    }

    void documentFontsAreEmbeddedAsTheirTwins()
    {
        m_fixture->addLines({{1, 1}});
        m_fixture->open();
        RenderToPdf(m_fixture->layout(), pdfPath());
        const QString fonts = run(QStringLiteral("pdffonts"), {pdfPath()});
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSansNarrow-Bold")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSans-Bold")), qPrintable(fonts));
        QVERIFY2(QRegularExpression(QStringLiteral("LiberationSans(-Regular)?\\s")).match(fonts).hasMatch(), qPrintable(fonts));
    }

    void unwritableFileIsAnError()
    {
        m_fixture->open();
        const QString path = m_dir->filePath(QStringLiteral("missing/report.pdf"));
        try {
            RenderToPdf(m_fixture->layout(), path);
            QFAIL("written");
        } catch (const Error &error) {
            QVERIFY2(error.text().startsWith(QStringLiteral("Cannot create file \"%1\"").arg(path)), qPrintable(error.text()));
        }
    }
};

QTEST_MAIN(TestReportEngine)
#include "test_reportengine.moc"
