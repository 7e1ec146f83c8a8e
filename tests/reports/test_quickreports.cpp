// The five printed documents as the clerk prints them: the rows loaded into a fresh database, the
// program's windows created by the registry, the screen opened from the main menu, the document's
// header chosen in its grid, the screen's print button pressed and the preview's "Зберегти як PDF"
// answered. Checked: the texts and totals of their examples, the head read from the header current
// on the screen, positions in millimetres, the table grid, rows flowing onto further pages, the
// shop audit act's date filter, the preview.
#include "app/form1.h"
#include "app/windowregistry.h"
#include "data/format.h"
#include "data/query.h"
#include "documentreading.h"
#include "reports/documentlayout.h"
#include "reports/reportbuilder.h"
#include "reports/reportpreview.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "support/messagerecorder.h"
#include "support/testdatabase.h"
#include "widgets/screen.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace coop;

namespace {

struct Line
{
    QString goods;
    double kilkist = 0;
    double cina = 0; // the price, where the document has one
    QDate date = {}; // shop audits: the audit date
};
using Lines = QList<Line>;

// The header data that the documents print: the second header of each screen (or the second shop).
const QString Supplier = QStringLiteral("ТОВ «Зоря»");
const QString Shop = QStringLiteral("Магазин №3 «Колос»");
const QString Auditor = QStringLiteral("Коваль Петро Іванович");
const QDate AuditDate{2011, 6, 30};

// Where each document is printed from and what its screen reads. The screen, its queries, its
// print button and the document are the registry's windows, found by their names; the rows are
// table rows, written before the windows are created so that the screens' own queries read them.
struct Printing
{
    const char *menuItem; // the main menu's item that opens the screen
    const char *screen;
    const char *printButton;
    const char *document;
    const char *header; // the screen's header query; none: the document prints every row shown
    const char *lines;
    QString headerRow;  // the header grid's text of the header to print
    QString headers;    // the headers' rows: the first, then the one printed
    QString line;       // one line's row: {header}, {goods}, {quantity}, {price}, {date}
};

const Printing &printing(int number)
{
    static const Printing table[] = {
        {"N11", "Form7", "BitBtn17", "QuickReport17", "Query1", "Query3", Supplier,
         QStringLiteral("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES"
                        " (1, 1, 1, '2011-05-01'), (2, 2, 1, '2011-05-12')"),
         QStringLiteral("INSERT INTO chonadishlo (IdNadhodgennya, IdTovary, Kilkist, Cina) VALUES ({header}, {goods}, {quantity}, {price})")},
        {"N12", "Form11", "BitBtn17", "QuickReport18", "Query1", "Query3", Shop,
         QStringLiteral("INSERT INTO rozpodil (Id, IdMagazuny, IdSpivrobitnuka, DataRozpodily) VALUES"
                        " (1, 1, 1, '2011-05-01'), (2, 2, 1, '2011-05-20')"),
         QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES"
                        " ({header}, {goods}, {quantity}, {price})")},
        {"N17", "Form12", "BitBtn2", "QuickReport19", nullptr, "Query1", QString(), QString(),
         QStringLiteral("INSERT INTO baza (IdTovary, KilkistNaBazi) VALUES ({goods}, {quantity})")},
        {"N15", "Form14", "BitBtn8", "QuickReport20", "Query1", "Query2", Shop, QString(), // the shops are the headers
         QStringLiteral("INSERT INTO reveziyamagazuny (IdMagazuny, IdTovary, Kilkist, CinaRozdribna, Data) VALUES"
                        " ({header}, {goods}, {quantity}, {price}, {date})")},
        {"N16", "Form15", "BitBtn12", "QuickReport21", "Query1", "Query3", Auditor,
         QStringLiteral("INSERT INTO reviziyabazu (Id, IdSpivrobitnuka, Dokyment, DataRevizii) VALUES"
                        " (1, 1, 'Наказ 3', '2011-05-01'), (2, 2, 'Наказ 12', '2011-06-30')"),
         QStringLiteral("INSERT INTO pozuciireviziibazu (IdRevizii, IdTovary, Kilkist, Cina) VALUES ({header}, {goods}, {quantity}, {price})")},
    };
    Q_ASSERT(number >= 17 && number <= 21);
    return table[number - 17];
}

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

QString sqlNumber(double value) { return QString::number(value, 'g', 17); }

template <class T> T &named(const WindowRegistry &windows, const char *name)
{
    for (QObject *window : windows.windows())
        if (auto *found = qobject_cast<T *>(window); found && window->objectName() == QLatin1String(name))
            return *found;
    qFatal("the registry has no %s", name);
}

} // namespace

Q_DECLARE_METATYPE(Line)

class TestQuickReports : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<WindowRegistry> m_windows;
    std::unique_ptr<MessageRecorder> m_messages;
    std::unique_ptr<QTemporaryDir> m_dir;
    ShowModalFunction m_previous;
    QStringList m_previews; // the captions of the previews shown
    QString m_printedOn;    // a pattern of the printing date, as the document prints it

    // What the screens said, each message as "caption: text".
    QString messages() const
    {
        QStringList said;
        for (const MessageRequest &message : std::as_const(m_messages->requests))
            said << message.caption + QStringLiteral(": ") + message.text;
        return said.join(QStringLiteral("; "));
    }

    QString pdfPath() const { return m_dir->filePath(QStringLiteral("document.pdf")); }

    Screen &screen(int number) const { return named<Screen>(*m_windows, printing(number).screen); }
    Query &query(int number, const char *name) const
    {
        // The screen's own queries, not those of the windows it holds.
        auto *found = screen(number).findChild<Query *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
        if (!found)
            qFatal("%s has no %s", printing(number).screen, name);
        return *found;
    }
    const ReportLayout &layoutOf(int number) const { return named<DocumentLayout>(*m_windows, printing(number).document).layout(); }

    int addGoods(const QString &name)
    {
        m_db->exec(QStringLiteral("INSERT INTO tovary (NazvaTovary) VALUES (%1)").arg(QuoteSqlText(name)));
        return m_db->value(QStringLiteral("SELECT LAST_INSERT_ID()")).toInt();
    }
    void addLine(int number, int header, const Line &line)
    {
        QString row = printing(number).line;
        row.replace(QStringLiteral("{header}"), QString::number(header))
            .replace(QStringLiteral("{goods}"), QString::number(addGoods(line.goods)))
            .replace(QStringLiteral("{quantity}"), sqlNumber(line.kilkist))
            .replace(QStringLiteral("{price}"), sqlNumber(line.cina))
            .replace(QStringLiteral("{date}"), QuoteSqlText(FormatSqlDate(line.date.isValid() ? line.date : AuditDate)));
        m_db->exec(row);
    }

    // Writes the rows of document `number` (17 to 21): two headers, the first with a line of its
    // own and the second with these lines (the stock card: these lines are the stock). Then starts
    // the program's windows, opens the screen from the main menu and chooses the second header in
    // its grid, as the clerk does.
    void show(int number, const Lines &lines)
    {
        const Printing &document = printing(number);
        if (!document.headers.isEmpty())
            m_db->exec(document.headers);
        if (document.header)
            addLine(number, 1, {QStringLiteral("Сіль"), 7, 7, QDate(2011, 5, 1)});
        for (const Line &line : lines)
            addLine(number, 2, line);

        m_windows = std::make_unique<WindowRegistry>();
        m_windows->form1().show();
        control<QAction>(m_windows->form1(), document.menuItem)->trigger();
        QVERIFY(screen(number).isVisible());
        if (!document.header)
            return;
        const Query *header = &query(number, document.header);
        for (DBGrid *grid : screen(number).findChildren<DBGrid *>()) {
            if (grid->query() != header)
                continue;
            const QAbstractItemModel &rows = *grid->model();
            QModelIndexList found;
            for (int column = 0; found.isEmpty() && column < rows.columnCount(); ++column)
                found = rows.match(rows.index(0, column), Qt::DisplayRole, document.headerRow, 1, Qt::MatchExactly);
            QVERIFY2(!found.isEmpty(), qPrintable(document.headerRow));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(found.first()).center());
            QCOMPARE(header->fieldByName(QStringLiteral("id"))->asString(), QStringLiteral("2"));
            QVERIFY2(m_messages->requests.isEmpty(), qPrintable(messages()));
            return;
        }
        QFAIL("no grid shows the headers");
    }

    // Presses the screen's print button. The preview it opens saves its document through its own
    // "Зберегти як PDF", the file dialog answered with pdfPath(), and is closed.
    void pressPrint(int number)
    {
        if (QTest::currentTestFailed())
            return; // the walk to the header failed
        m_previews.clear();
        m_messages->requests.clear();
        QFile::remove(pdfPath());
        QTest::mouseClick(control<QPushButton>(screen(number), printing(number).printButton), Qt::LeftButton);
    }

    // Prints document `number` from its screen; `document` is what the preview showed and saved:
    // the document's layout laid out again from the same rows of the screen's queries.
    bool print(int number, ReportDocument &document)
    {
        const QDate day = QDate::currentDate();
        pressPrint(number);
        if (QTest::currentTestFailed())
            return false;
        const ReportLayout &layout = layoutOf(number);
        if (!m_messages->requests.isEmpty() || m_previews != QStringList{layout.name} || !QFile::exists(pdfPath())) {
            qWarning("previews shown: %s; messages: %s", qPrintable(m_previews.join(u',')), qPrintable(messages()));
            return false;
        }
        document = BuildReport(layout);
        // The preview laid the document out a moment before: on this day or, past midnight, the next.
        QStringList days;
        for (const QDate &date : {day, document.printedAt.date()})
            days << QRegularExpression::escape(LocaleDateText(date));
        days.removeDuplicates();
        m_printedOn = QStringLiteral("(?:%1)").arg(days.join(u'|'));
        keep(number);
        return true;
    }

    // To look at what the tests printed: COOP_KEEP_DOCUMENTS=<directory>.
    void keep(int number) const
    {
        const QString keep = qEnvironmentVariable("COOP_KEEP_DOCUMENTS");
        if (keep.isEmpty())
            return;
        QString name = QStringLiteral("%1-%2-%3.pdf").arg(number).arg(QTest::currentTestFunction(), QTest::currentDataTag());
        name.replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), QStringLiteral("_"));
        QFile::remove(QDir(keep).filePath(name));
        QFile::copy(pdfPath(), QDir(keep).filePath(name));
    }

    void savePreview(ReportPreviewDialog &preview)
    {
        m_previews << preview.windowTitle();
        QTimer::singleShot(0, this, [this] {
            if (auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                files->selectFile(pdfPath());
                static_cast<QDialog *>(files)->accept(); // its Save button
            }
        });
        control<QAction>(preview, "saveAsPdf")->trigger();
        preview.reject();
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_messages = std::make_unique<MessageRecorder>();
        // The people and places the headers name; the documents print those of the second header.
        m_db->exec(QStringLiteral("INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'ПП Промінь'), (2, %1);"
                                  "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Шевчук Ганна Петрівна'), (2, %2);"
                                  "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (1, 'Магазин №1'), (2, %3)")
                       .arg(QuoteSqlText(Supplier), QuoteSqlText(Auditor), QuoteSqlText(Shop)));
        // Screens show without a nested event loop; a preview saves its document and closes.
        m_previous = setShowModalFunction([this](QDialog &dialog) {
            dialog.show();
            if (auto *preview = qobject_cast<ReportPreviewDialog *>(&dialog))
                savePreview(*preview);
            return dialog.result();
        });
    }
    void cleanup()
    {
        setShowModalFunction(std::move(m_previous));
        m_windows.reset();
        m_messages.reset();
        m_dir.reset();
        m_db.reset();
    }

    void printsTheExamples_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("figures"); // the summary's expressions, in order
        QTest::addColumn<QStringList>("pdfLines"); // patterns of lines of the PDF's text; {date}: the printing date

        QTest::newRow("receipt invoice, 2 at 50")
            << 17 << Lines{{"Цукор", 2, 50}} << QStringList{"Цукор|2|50|100|120"} << QStringList{"100", "20", "120"}
            << QStringList{"Підприємство:\\s+Мироланське споживче товаритсво\\s+Код ЄДРПОУ:\\s+24681357",
                           "тел\\.:\\s+\\(048-21\\)-3-52-74",
                           "Прибуткова накладна №_+", "від:\\s+{date}$",
                           "Виконавець:\\s+ТОВ «Зоря»", "Замовник:\\s+Мироланське споживче товаритсво",
                           "Постачання від:\\s+12\\.05\\.2011",
                           "Товар\\s+Кількість\\s+Ціна, грн\\.\\s+Сума, грн\\.\\s+Сума з ПДВ, грн\\.",
                           "Цукор\\s+2\\s+50\\s+100\\s+120$",
                           "Всього отримано на суму:\\s+100\\s+грн\\.", "В тому числі ПДВ:\\s+20\\s+грн\\.",
                           "^\\s*Всього:\\s+120\\s+грн\\.",
                           "Доставив: _+\\s+Отримав: _+"};
        QTest::newRow("receipt invoice, unrounded")
            << 17 << Lines{{"Борошно", 1, 0.333}, {"Олія", 2, 12.5}}
            << QStringList{"Борошно|1|0,333|0,333|0,3996", "Олія|2|12,5|25|30"} << QStringList{"25,333", "5,0666", "30,3996"}
            << QStringList{};
        QTest::newRow("transfer invoice, 3 at 2,5")
            << 18 << Lines{{"Цукор", 3, 2.5}} << QStringList{"Цукор|3|2,5|8"} << QStringList{"8"}
            << QStringList{"Накладна на внутрішнє переміщення №_+", "від:\\s+{date}$",
                           "Звідки:\\s+Склад товарів\\s+Куди:\\s+Магазин №3 «Колос»",
                           "Назва товару\\s+Кількість\\s+Ціна, грн\\.\\s+Сума, грн\\.",
                           "Цукор\\s+3\\s+2,5\\s+8$", "Всього:\\s+8\\s+грн\\.", "Видав: _+\\s+Отримав: _+"};
        // The total adds the whole sums the rows show (8 + 4), not the products (7,5 + 3,5).
        QTest::newRow("transfer invoice, whole sums")
            << 18 << Lines{{"Цукор", 3, 2.5}, {"Гречка", 1, 3.5}} << QStringList{"Цукор|3|2,5|8", "Гречка|1|3,5|4"}
            << QStringList{"12"} << QStringList{};
        QTest::newRow("stock card, three rows")
            << 19 << Lines{{"Цукор", 2}, {"Гречка", 3.5}, {"Олія", 10}} << QStringList{"Цукор|2", "Гречка|3,5", "Олія|10"}
            << QStringList{"3", "15,5"}
            << QStringList{"^\\s*Мироланське споживче товаритсво$", "^\\s*\\(підприємство\\)$",
                           "Картка № _+ складського обліку товарів",
                           "станом на\\s+{date} \\d{1,2}:\\d\\d:\\d\\d$", "Назва товару\\s+Кількість на складі",
                           "Гречка\\s+3,5$", "Всього:\\s+3\\s+найменувань товарів", "Загальна кількість:\\s+15,5$"};
        QTest::newRow("stock card, empty")
            << 19 << Lines{} << QStringList{"|"} << QStringList{"0", "0"}
            << QStringList{"Всього:\\s+0\\s+найменувань товарів", "Загальна кількість:\\s+0$"};
        QTest::newRow("shop audit act")
            << 20 << Lines{{"Цукор", 12}, {"Олія", 3.5}} << QStringList{"Цукор|12", "Олія|3,5"} << QStringList{}
            << QStringList{"^\\s*Мироланське споживче товаритсво$", "Акт ревізії № _+", "станом на\\s+{date}$",
                           "Місце ревізії:\\s+Магазин №3 «Колос»$", "Назва товару\\s+Кількість наявна",
                           "Олія\\s+3,5$"};
        QTest::newRow("base audit act")
            << 21 << Lines{{"Цукор", 4, 2.5}, {"Олія", 1, 10}} << QStringList{"Цукор|4|2,5|10", "Олія|1|10|10"}
            << QStringList{"2", "5", "20"}
            << QStringList{"^\\s*Мироланське споживче товаритсво$", "Акт ревізії № _+\\s+від:\\s+{date}$",
                           "Перевіряючий:\\s+Коваль Петро Іванович\\s+На підставі:\\s+Наказ 12$",
                           "Дата перевірки:\\s+30\\.06\\.2011\\s+Місце перевірки:\\s+Склад товарів$",
                           "Назва товару\\s+Кількість фактична\\s+Ціна облікова\\s+Сума$",
                           "Всього:\\s+2\\s+найменувань товарів", "Загальна кількість:\\s+5$",
                           "Товарів на суму:\\s+20\\s+грн\\."};
    }
    void printsTheExamples()
    {
        QFETCH(int, number);
        QFETCH(Lines, lines);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, figures);
        QFETCH(QStringList, pdfLines);
        show(number, lines);
        const ReportLayout &layout = layoutOf(number);
        ReportDocument document;
        QVERIFY(print(number, document));

        QCOMPARE(detailRows(document, layout), rows);
        QCOMPARE(document.detailRows, int(lines.size()));
        // An empty query still prints one row of empty cells.
        QCOMPARE(int(elementsOf(document, BandKind::Detail, true).size()),
                 elementsPerRow(layout, true) * std::max(1, int(lines.size())));
        QCOMPARE(summaryFigures(document), figures);

        const QString text = pdfText(pdfPath());
        for (QString pattern : pdfLines)
            QVERIFY2(hasLine(text, pattern.replace(QStringLiteral("{date}"), m_printedOn)), qPrintable(pattern + u'\n' + text));
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
        show(number, {{"Цукор", 3, 7}});
        ReportDocument document;
        QVERIFY(print(number, document));

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
        show(number, numberedLines(3));
        const ReportLayout &layout = layoutOf(number);
        ReportDocument document;
        QVERIFY(print(number, document));

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
        show(number, numberedLines(200));
        const ReportLayout &layout = layoutOf(number);
        ReportDocument document;
        QVERIFY(print(number, document));
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
        QTest::addColumn<QDate>("from"); // the filter's period; none: no filter
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("two audits") << QDate() << QDate() << QStringList{"Цукор|12", "Олія|3"};
        QTest::newRow("filtered to June") << QDate(2011, 6, 1) << QDate(2011, 6, 30) << QStringList{"Олія|3"};
    }
    void shopAuditActPrintsTheLinesTheScreenPresents()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, rows);
        show(20, {{"Цукор", 12, 5, QDate(2011, 5, 15)}, {"Олія", 3, 40, QDate(2011, 6, 30)}});
        if (from.isValid()) {
            control<DateTimePicker>(screen(20), "DateTimePicker2")->setDate(from);
            control<DateTimePicker>(screen(20), "DateTimePicker3")->setDate(to);
            emit control<DateTimePicker>(screen(20), "DateTimePicker3")->closeUp();
        }
        ReportDocument document;
        QVERIFY(print(20, document));
        QCOMPARE(detailRows(document, layoutOf(20)), rows);
        for (const QString &row : rows)
            QVERIFY(hasLine(pdfText(pdfPath()), row.split(u'|').join(QStringLiteral("\\s+")) + u'$'));
    }

    // The print button shows the document in the engine's window and returns when it closes; the
    // lines then stand on their last row and the header has not moved.
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
        show(number, numberedLines(3));
        const Query &lines = query(number, printing(number).lines);
        QCOMPARE(lines.recNo(), 0);
        const Query *header = printing(number).header ? &query(number, printing(number).header) : nullptr;
        const int headerRow = header ? header->recNo() : -1;
        pressPrint(number);
        QCOMPARE(m_previews, QStringList{caption});
        QVERIFY2(m_messages->requests.isEmpty(), qPrintable(messages()));
        QCOMPARE(lines.recNo(), 2);
        if (header)
            QCOMPARE(header->recNo(), headerRow);
    }
};

COOP_GUI_TEST_MAIN(TestQuickReports)
#include "test_quickreports.moc"
