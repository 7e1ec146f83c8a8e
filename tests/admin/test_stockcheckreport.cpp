// What --check-stock prints of the ledger's comparison of stock with the journal: each mismatch
// named by its goods and place, the counts on the last line, the exit status; and nothing at all
// when the database has no journal to compare with.
#include "admin/stockcheckreport.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "support/testdatabase.h"

#include <QTest>
#include <QTextStream>

using namespace coop;

namespace {

// Base stock of goods 1 and 2 (2 with no quantity at all), shop 7 holding goods 1.
const char *const Stock = "INSERT INTO baza VALUES (1, 1, 40), (2, 2, NULL);"
                          "INSERT INTO nayavnistvmagazuni VALUES (1, 7, 1, 3, 2.5, 3.125)";

} // namespace

class TestStockCheckReport : public QObject
{
    Q_OBJECT

private slots:
    void checkReportsEveryMismatch()
    {
        TestDatabase db;
        Database connection;
        db.exec(QStringLiteral("INSERT INTO tovary (Id, NazvaTovary) VALUES (1, 'Цукор'), (2, 'Сіль');"
                               "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (7, 'Колосок');")
                + QLatin1String(Stock));
        db.upgradeJournal();
        QString text;
        QTextStream out(&text);
        QCOMPARE(printStockCheck(connection, out), 0);
        QCOMPARE(text, QStringLiteral("Перевірено залишків: 3, розбіжностей: 0\n"));

        // Changed, deleted and added behind the program's back.
        db.exec(QStringLiteral("UPDATE baza SET KilkistNaBazi = 38.5 WHERE Id = 1; DELETE FROM nayavnistvmagazuni;"
                               "INSERT INTO baza VALUES (3, 5, 2)"));
        text.clear();
        QCOMPARE(printStockCheck(connection, out), 1);
        QCOMPARE(text,
                 QStringLiteral("Товар 1 «Цукор», склад: залишок 38,5, за журналом 40\n"
                                "Товар 5, склад: залишок 2, за журналом 0\n"
                                "Товар 1 «Цукор», магазин 7 «Колосок»: залишок немає, за журналом 3\n"
                                "Перевірено залишків: 3, розбіжностей: 3\n"));
    }

    void withoutJournalNothingIsPrinted()
    {
        TestDatabase db;
        Database connection;
        db.exec(QStringLiteral("DROP TABLE ruhtovariv;") + QLatin1String(Stock));
        QString text;
        QTextStream out(&text);
        QVERIFY_THROWS_EXCEPTION(Error, printStockCheck(connection, out)); // the command line reports it
        QVERIFY(text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStockCheckReport)
#include "test_stockcheckreport.moc"
