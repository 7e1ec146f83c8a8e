// The grid export read back from the written workbook: sheet name, titles, cells, widths, bold
// titles, borders and wrapping, hidden fields, filters, the last row current, and the failure path.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/query.h"
#include "screens/gridexport.h"
#include "support/baredesktop.h"
#include "support/testdatabase.h"
#include "widgets/messages.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace coop;

namespace {

// One part of the workbook's zip, as text.
QString part(const QString &xlsx, const QString &name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), xlsx, name});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// The inline strings of the sheet, cell by cell: {"A1": "Код", ...}.
QMap<QString, QString> cells(const QString &sheetXml)
{
    QMap<QString, QString> out;
    static const QRegularExpression cell(QStringLiteral("<c r=\"([A-Z]+[0-9]+)\"[^>]*?(?:/>|>(.*?)</c>)"));
    static const QRegularExpression text(QStringLiteral("<t[^>]*>(.*?)</t>"));
    for (const auto &match : cell.globalMatch(sheetXml)) {
        const auto t = text.match(match.captured(2));
        out.insert(match.captured(1), t.hasMatch() ? t.captured(1) : QString());
    }
    return out;
}

} // namespace

class TestGridExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::unique_ptr<Query> m_shops;
    QTemporaryDir m_dir;

    // Exports the shops grid and answers the messages it shows.
    QList<MessageRequest> exportFailures()
    {
        QList<MessageRequest> shown;
        const MessageFunction previous = setMessageFunction([&](const MessageRequest &request) {
            shown.append(request);
            return int(mrOk);
        });
        exportGridToSpreadsheet(*m_shops, QStringLiteral("Магазини"));
        setMessageFunction(previous);
        return shown;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QStringLiteral("INSERT INTO magazunu VALUES (1, 'Колосок', 'вул. Миру, 17', 16), (2, 'О''Ліва', 'вул. Садова, 3', 14),"
                                  "(3, 'Берізка', 'вул. Лісова, 1', 18)"));
        m_connection = std::make_unique<Database>();
        m_shops = std::make_unique<Query>(*m_connection);
        m_shops->sql().add(QStringLiteral("select * from magazunu"));
        m_shops->addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
        m_shops->addField({QStringLiteral("NazvaMagazuny"), FieldType::String, 32, QStringLiteral("Назва магазину")});
        m_shops->addField({QStringLiteral("IdSpivrobitnuka"), FieldType::Integer, 0, QString(), 0, false});
        m_shops->addField({QStringLiteral("AdresaMagazuny"), FieldType::String, 40, QStringLiteral("Адреса магазину")});
        m_shops->open();
    }
    void cleanup()
    {
        m_shops.reset();
        m_connection.reset();
        m_db.reset();
    }

    void workbookHoldsTheGrid()
    {
        const QString path = m_dir.filePath(QStringLiteral("shops.xlsx"));
        writeGridWorkbook(*m_shops, QStringLiteral("Магазини"), path);

        QVERIFY(part(path, QStringLiteral("xl/workbook.xml")).contains(QStringLiteral("<sheet name=\"Магазини\"")));
        const QString sheet = part(path, QStringLiteral("xl/worksheets/sheet1.xml"));
        const QMap<QString, QString> c = cells(sheet);
        // The hidden field takes no column; the columns stay contiguous.
        QCOMPARE(c.value(QStringLiteral("A1")), QStringLiteral("Код"));
        QCOMPARE(c.value(QStringLiteral("B1")), QStringLiteral("Назва магазину"));
        QCOMPARE(c.value(QStringLiteral("C1")), QStringLiteral("Адреса магазину"));
        QVERIFY(!c.contains(QStringLiteral("D1")));
        QCOMPARE(c.value(QStringLiteral("A3")), QStringLiteral("2"));
        QCOMPARE(c.value(QStringLiteral("B3")), QStringLiteral("О'Ліва"));
        QCOMPARE(c.value(QStringLiteral("C4")), QStringLiteral("вул. Лісова, 1"));
        QVERIFY(!c.contains(QStringLiteral("A5")));
        // Widths in characters as the spreadsheet reports them (the file adds its own padding).
        QVERIFY(sheet.contains(QStringLiteral("<col min=\"1\" max=\"1\" width=\"12.7109375\"")));
        QVERIFY(sheet.contains(QStringLiteral("<col min=\"2\" max=\"2\" width=\"32.7109375\"")));
        QVERIFY(sheet.contains(QStringLiteral("<col min=\"3\" max=\"3\" width=\"40.7109375\"")));
        // A1 is selected: the file either names it or, as for a new sheet, names no selection.
        QVERIFY(!sheet.contains(QStringLiteral("<selection")) || sheet.contains(QStringLiteral("activeCell=\"A1\"")));

        // Titles bold at size 10; every cell of the block bordered and wrapped.
        const QString styles = part(path, QStringLiteral("xl/styles.xml"));
        QVERIFY(styles.contains(QStringLiteral("<b/><sz val=\"10\"/>")));
        QVERIFY(styles.contains(QStringLiteral("<left style=\"thin\">")));
        QVERIFY(styles.contains(QStringLiteral("wrapText=\"1\"")));
        static const QRegularExpression styleOf(QStringLiteral("<c r=\"([A-C][1-4])\" s=\"([0-9]+)\""));
        int styled = 0;
        for (const auto &m : styleOf.globalMatch(sheet))
            styled += m.captured(2).toInt() > 0;
        QCOMPARE(styled, 12);

        QCOMPARE(m_shops->recNo(), 2); // the last row stands current
    }

    void onlyWhatTheGridShows()
    {
        m_shops->setFilter(QStringLiteral("Id<>'2'"));
        m_shops->setFiltered(true);
        const QString path = m_dir.filePath(QStringLiteral("filtered.xlsx"));
        writeGridWorkbook(*m_shops, QStringLiteral("Магазини"), path);
        const QMap<QString, QString> c = cells(part(path, QStringLiteral("xl/worksheets/sheet1.xml")));
        QCOMPARE(c.value(QStringLiteral("B2")), QStringLiteral("Колосок"));
        QCOMPARE(c.value(QStringLiteral("B3")), QStringLiteral("Берізка"));
        QVERIFY(!c.contains(QStringLiteral("A4")));
    }

    void emptyGridGivesTheTitleRow()
    {
        m_shops->setFilter(QStringLiteral("Id>'100'"));
        m_shops->setFiltered(true);
        const QString path = m_dir.filePath(QStringLiteral("empty.xlsx"));
        writeGridWorkbook(*m_shops, QStringLiteral("Магазини"), path);
        const QMap<QString, QString> c = cells(part(path, QStringLiteral("xl/worksheets/sheet1.xml")));
        QCOMPARE(c.keys(), QStringList({QStringLiteral("A1"), QStringLiteral("B1"), QStringLiteral("C1")}));
    }

    // The desktop's associations, asked through the real xdg-mime.
    void handlerAsTheDesktopSays()
    {
        BareDesktop desktop;
        QCOMPARE(desktopHandlerOfWorkbooks(), QString());
        desktop.registerSpreadsheetApplication();
        QCOMPARE(desktopHandlerOfWorkbooks(), QStringLiteral("coop-sheet.desktop"));
    }

    // Where no application opens workbooks, the clerk is told, and no workbook is left behind.
    void noApplicationForWorkbooks()
    {
        BareDesktop desktop;
        m_shops->first();
        const auto shown = exportFailures();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Помилка!!!"));
        QCOMPARE(shown[0].text, QStringLiteral("Microsoft Ecxel не інстальований, або виникла інша помилка."));
        QCOMPARE(shown[0].icon, MessageIcon::Exclamation);
        QCOMPARE(desktop.leftInTemp(), QStringList());
        QCOMPARE(m_shops->recNo(), 0); // the grid was not walked
        QVERIFY(!m_shops->controlsDisabled());
    }

    // An application is registered, but the opener cannot reach it (the offscreen platform has no
    // opener at all): told as well, and the written workbook is removed again.
    void openerFailsAfterTheWorkbookIsWritten()
    {
        BareDesktop desktop;
        desktop.registerSpreadsheetApplication();
        const auto shown = exportFailures();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Помилка!!!"));
        QCOMPARE(desktop.leftInTemp(), QStringList());
        QCOMPARE(m_shops->recNo(), 2); // this time the walk had been made
    }

    // A closed grid query (a refused search leaves it so) gives no title-only workbook.
    void closedGridGivesNoWorkbook()
    {
        m_shops->close();
        const QString path = m_dir.filePath(QStringLiteral("closed.xlsx"));
        QVERIFY_THROWS_EXCEPTION(Error, writeGridWorkbook(*m_shops, QStringLiteral("Магазини"), path));
        QVERIFY(!QFile::exists(path));

        BareDesktop desktop;
        desktop.registerSpreadsheetApplication();
        QCOMPARE(exportFailures().size(), 1);
        QCOMPARE(desktop.leftInTemp(), QStringList());
    }

    void failureShowsTheMessageOnly()
    {
        QList<MessageRequest> shown;
        const MessageFunction previous = setMessageFunction([&](const MessageRequest &request) {
            shown.append(request);
            return int(mrOk);
        });
        // Nowhere to write: the temporary place is a file, not a folder.
        const QString blocked = m_dir.filePath(QStringLiteral("not-a-dir"));
        QFile(blocked).open(QIODevice::WriteOnly);
        qputenv("TMPDIR", QFile::encodeName(blocked));
        exportGridToSpreadsheet(*m_shops, QStringLiteral("Магазини"));
        qunsetenv("TMPDIR");
        setMessageFunction(previous);

        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Помилка!!!"));
        QCOMPARE(shown[0].text, QStringLiteral("Microsoft Ecxel не інстальований, або виникла інша помилка."));
        QCOMPARE(shown[0].icon, MessageIcon::Exclamation);
        QVERIFY(m_shops->active());
        QVERIFY(!m_shops->controlsDisabled()); // display updates resumed
    }
};

QTEST_MAIN(TestGridExport)
#include "test_gridexport.moc"
