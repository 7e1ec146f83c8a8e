// The ledger's posting and transfer given their lines as data, as the screens hand them: the exact
// statements in their order, the progress they report, and all or nothing: the transfer's refusal
// and a line that fails leave the base, the shop and the journal as they were.
#include "data/database.h"
#include "data/databaseerror.h"
#include "ledger/receiptposting.h"
#include "ledger/shoptransfer.h"
#include "ledger/stockcheck.h"
#include "support/testdatabase.h"

#include <QTest>

using namespace coop;

namespace {

// Goods 4 held at the base at 30, goods 5 and 6 not; shop 2 holds 3 of goods 4.
const char *const Stock = "INSERT INTO baza VALUES (1, 4, 30);"
                          "INSERT INTO nayavnistvmagazuni VALUES (1, 2, 4, 3, 10, 12.5)";

// "goods:quantity[:price]" lines, separated by blanks.
std::vector<ReceiptLine> receiptLines(const QString &text)
{
    std::vector<ReceiptLine> lines;
    for (const QString &line : text.split(u' ', Qt::SkipEmptyParts))
        lines.push_back({line.section(u':', 0, 0).toLongLong(), line.section(u':', 1, 1).toDouble()});
    return lines;
}
std::vector<TransferLine> transferLines(const QString &text)
{
    std::vector<TransferLine> lines;
    for (const QString &line : text.split(u' ', Qt::SkipEmptyParts))
        lines.push_back({line.section(u':', 0, 0).toLongLong(), line.section(u':', 1, 1).toDouble(), line.section(u':', 2, 2)});
    return lines;
}

} // namespace

class TestStockCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;
    std::vector<std::size_t> m_progress;
    const LineProgress m_recordProgress = [this](std::size_t done) { m_progress.push_back(done); };

    // The command's own statements: what the log holds after START TRANSACTION and before the
    // journal reads the quantities its changes left.
    QStringList commandStatements() const
    {
        QStringList own;
        for (const QString &statement : m_connection->statementLog().mid(1)) {
            if (statement.startsWith(u"SELECT IdTovary, ") || statement == u"COMMIT")
                break;
            own << statement;
        }
        return own;
    }
    QStringList stocks()
    {
        return m_db->rows("select IdTovary, KilkistNaBazi from baza order by IdTovary")
            + m_db->rows("select IdMagazuny, IdTovary, Kilkist, CinaOblikova, CinaRozdribna from nayavnistvmagazuni"
                         " order by IdMagazuny, IdTovary");
    }
    static std::vector<std::size_t> counting(std::size_t lines)
    {
        std::vector<std::size_t> reports;
        for (std::size_t done = 0; done <= lines; ++done)
            reports.push_back(done);
        return reports;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->exec(QLatin1String(Stock));
        m_db->upgradeJournal();
        m_connection = std::make_unique<Database>();
        m_connection->setStatementLogging(true);
        m_progress.clear();
    }
    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    void posting_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QStringList>("base");
        const QString count = QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`\nwhere (`IdTovary`=%1);");
        QTest::newRow("goods not held: a new row")
            << "6:1" << QStringList{count.arg(6), "insert into `baza` values (NULL,6,1);"} << QStringList{"4|30", "6|1"};
        QTest::newRow("goods held: added, quoted")
            << "4:3" << QStringList{count.arg(4), "Update baza SET KilkistNaBazi=KilkistNaBazi+('3') where IdTovary=4"}
            << QStringList{"4|33"};
        QTest::newRow("new goods twice: counted afresh, one row")
            << "5:10 5:5"
            << QStringList{count.arg(5), "insert into `baza` values (NULL,5,10);", count.arg(5),
                           "Update baza SET KilkistNaBazi=KilkistNaBazi+('5') where IdTovary=5"}
            << QStringList{"4|30", "5|15"};
        QTest::newRow("a fraction goes as SQL number text")
            << "4:2.5" << QStringList{count.arg(4), "Update baza SET KilkistNaBazi=KilkistNaBazi+('2.5') where IdTovary=4"}
            << QStringList{"4|32.5"};
    }
    void posting()
    {
        QFETCH(QString, lines);
        QFETCH(QStringList, statements);
        QFETCH(QStringList, base);
        const std::vector<ReceiptLine> receipt = receiptLines(lines);
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        m_connection->clearStatementLog();
        QCOMPARE(postReceipt(command, receipt, m_recordProgress), StockCommand::Outcome::Done);
        QCOMPARE(m_connection->statementLog().first(), QStringLiteral("START TRANSACTION"));
        QCOMPARE(commandStatements(), statements);
        QCOMPARE(m_connection->statementLog().last(), QStringLiteral("COMMIT"));
        QCOMPARE(m_db->rows("select IdTovary, KilkistNaBazi from baza order by IdTovary"), base);
        QCOMPARE(m_progress, counting(receipt.size()));
        QCOMPARE(m_db->journal().size(), qsizetype(receipt.size()));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }

    void transfer()
    {
        // Goods 5 new in the shop, goods 4 there already: an insert, then an update, each line after
        // lowering the base; the check reads both goods' base rows at once, in the order of their ids.
        m_db->exec(QStringLiteral("INSERT INTO baza VALUES (2, 5, 10)"));
        StockCommand command(*m_connection, StockDocument::Distribution, 9);
        m_connection->clearStatementLog();
        QCOMPARE(transferToShop(command, 2, transferLines("5:4:12,5 4:1:8"), m_recordProgress), StockCommand::Outcome::Done);
        QCOMPARE(commandStatements(),
                 QStringList({"select IdTovary, KilkistNaBazi from baza\nwhere IdTovary in (4,5) for update",
                              "update baza SET KilkistNaBazi=KilkistNaBazi-4\nwhere baza.IdTovary=5",
                              "Select (count(`Id`)) as 'cnt' from `nayavnistvmagazuni`\nwhere (`IdTovary`=5)and(`IdMagazuny`=2);",
                              "insert into `nayavnistvmagazuni` values (NULL,2,5,4,'12.5',1.25*'12.5');",
                              "update baza SET KilkistNaBazi=KilkistNaBazi-1\nwhere baza.IdTovary=4",
                              "Select (count(`Id`)) as 'cnt' from `nayavnistvmagazuni`\nwhere (`IdTovary`=4)and(`IdMagazuny`=2);",
                              "update nayavnistvmagazuni SET Kilkist=Kilkist+1, CinaOblikova='8', CinaRozdribna=1.25*'8'\n"
                              "where nayavnistvmagazuni.IdTovary=4 AND nayavnistvmagazuni.IdMagazuny=2"}));
        QCOMPARE(stocks(), QStringList({"4|29", "5|6", "2|4|4|8|10", "2|5|4|12.5|15.625"}));
        QCOMPARE(m_progress, counting(2));
        QCOMPARE(m_db->journal(),
                 QStringList({"розподіл|9|5|NULL|-4|6", "розподіл|9|5|2|4|4", "розподіл|9|4|NULL|-1|29", "розподіл|9|4|2|1|4"}));
    }

    // The lines of the same goods are short only together: refused before any line, the locks
    // released by the transaction's end, nothing written and no progress reported.
    void transferRefused()
    {
        const QStringList before = stocks();
        StockCommand command(*m_connection, StockDocument::Distribution, 9);
        m_connection->clearStatementLog();
        QCOMPARE(transferToShop(command, 2, transferLines("4:20:1 4:11:1"), m_recordProgress), StockCommand::Outcome::Refused);
        QCOMPARE(command.refusal(), QStringLiteral("На складі немає такої кількості товару"));
        QCOMPARE(m_connection->statementLog(),
                 QStringList({"START TRANSACTION", "select IdTovary, KilkistNaBazi from baza\nwhere IdTovary in (4) for update",
                              "COMMIT"}));
        QVERIFY(m_progress.empty());
        QCOMPARE(stocks(), before);
        QVERIFY(m_db->journal().isEmpty());
    }

    // A price that reads as no number stops the transfer at its line, after the first line has
    // moved: that one is undone with it.
    void transferFailsWhole()
    {
        const QStringList before = stocks();
        StockCommand command(*m_connection, StockDocument::Distribution, 9);
        try {
            transferToShop(command, 2, transferLines("4:1:8 4:1:,"), m_recordProgress);
            QFAIL("a price that is no number was taken");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("',' is not a valid floating point value"));
        }
        QVERIFY(m_connection->statementLog().contains(QStringLiteral("ROLLBACK")));
        QCOMPARE(stocks(), before);
        QVERIFY(m_db->journal().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStockCommands)
#include "test_stockcommands.moc"
