// The stock journal and StockCommand: the upgrade script's opening rows, the rows a command writes
// with the quantity after each change, a refusal, the comparison of stock with journal, and the
// outcome of a command whose COMMIT lost its connection.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/mariadbhandles.h"
#include "data/programfiles.h"
#include "ledger/stockcheck.h"
#include "ledger/stockcommand.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QTest>

using namespace coop;

namespace {

QByteArray upgradeScript() { return coop::programFile(QStringLiteral("db/upgrade-journal.sql")); }

// Base stock of goods 1 and 2 (2 with no quantity at all), shop 7 holding goods 1.
const char *const Stock = "INSERT INTO baza VALUES (1, 1, 40), (2, 2, NULL);"
                          "INSERT INTO nayavnistvmagazuni VALUES (1, 7, 1, 3, 2.5, 3.125)";

const char *const JournalColumns = "VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok";

} // namespace

class TestStockJournal : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<Database> m_connection;

    QStringList journal()
    {
        return m_db->rows(QStringLiteral("SELECT %1 FROM ruhtovariv ORDER BY Id").arg(QLatin1String(JournalColumns)));
    }
    void upgrade() { runScript(m_db->admin(), upgradeScript(), QStringLiteral("upgrade-journal.sql")); }

    // A posting of (goods, quantity) lines as the receipts screen makes it: count, then insert or
    // update, each change recorded.
    void post(StockCommand &command, const QList<QPair<int, double>> &lines)
    {
        for (const auto &[goods, quantity] : lines) {
            const quint64 held = m_connection->execute(QStringLiteral("SELECT Id FROM baza WHERE IdTovary = %1").arg(goods));
            if (held == 0)
                m_connection->execute(QStringLiteral("INSERT INTO baza VALUES (NULL, %1, %2)").arg(goods).arg(quantity));
            else
                m_connection->execute(
                    QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi + %2 WHERE IdTovary = %1").arg(goods).arg(quantity));
            command.record({goods, std::nullopt, quantity});
        }
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_connection = std::make_unique<Database>();
    }
    void cleanup()
    {
        m_connection.reset();
        m_db.reset();
    }

    void openingRowsWrittenOnce()
    {
        // A database made before the journal.
        m_db->exec(QStringLiteral("DROP TABLE ruhtovariv;") + QLatin1String(Stock));
        QVERIFY(!hasStockJournal(*m_connection));
        upgrade();
        QVERIFY(hasStockJournal(*m_connection));
        const QStringList opening = {QStringLiteral("залишок на початок|NULL|1|NULL|40|40"), QStringLiteral("залишок на початок|NULL|2|NULL|0|0"),
                                     QStringLiteral("залишок на початок|NULL|1|7|3|3")};
        QCOMPARE(journal(), opening);
        QCOMPARE(m_db->value(QStringLiteral("SELECT COUNT(DISTINCT Komanda) FROM ruhtovariv")), QStringLiteral("1"));
        QCOMPARE(m_db->value(QStringLiteral("SELECT COUNT(*) FROM ruhtovariv WHERE Korystuvach = 'root'")), QStringLiteral("3"));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());

        // Again: nothing more, even for a quantity changed behind the program's back.
        m_db->exec(QStringLiteral("UPDATE baza SET KilkistNaBazi = 41 WHERE Id = 1"));
        upgrade();
        QCOMPARE(journal(), opening);
        QCOMPARE(compareStockWithJournal(*m_connection).mismatches.size(), size_t(1));
    }

    void openingRowsAfterAnEarlyPosting()
    {
        // The table exists, empty (a fresh schema), and a clerk posted 5 of goods 1 before the
        // opening rows: the opening row is what stood before that posting.
        m_db->exec(QLatin1String(Stock));
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        command.run([&] { post(command, {{1, 5}}); });
        upgrade();
        QCOMPARE(journal(), QStringList({QStringLiteral("надходження|12|1|NULL|5|45"), QStringLiteral("залишок на початок|NULL|1|NULL|40|40"),
                                         QStringLiteral("залишок на початок|NULL|2|NULL|0|0"), QStringLiteral("залишок на початок|NULL|1|7|3|3")}));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }

    void commandRowsCarryTheQuantityAfterEachChange()
    {
        m_db->exec(QLatin1String(Stock));
        upgrade();
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        QVERIFY(command.journaled());
        QVERIFY(!command.earlierMove());
        // Goods 1 twice (held at 40), new goods 3 twice: each row has the quantity after its own change.
        QCOMPARE(command.run([&] { post(command, {{1, 10}, {3, 4}, {1, 2.5}, {3, 1}}); }), StockCommand::Outcome::Done);
        QCOMPARE(journal().mid(3), QStringList({QStringLiteral("надходження|12|1|NULL|10|50"), QStringLiteral("надходження|12|3|NULL|4|4"),
                                                QStringLiteral("надходження|12|1|NULL|2.5|52.5"), QStringLiteral("надходження|12|3|NULL|1|5")}));
        QCOMPARE(m_db->value(QStringLiteral("SELECT COUNT(*) FROM ruhtovariv WHERE Komanda = '%1'").arg(command.token())),
                 QStringLiteral("4"));
        const QString moment = m_db->value(QStringLiteral("SELECT DATE_FORMAT(MAX(Moment), '%Y-%m-%d %H:%i:%s') FROM ruhtovariv"));
        QCOMPARE(StockCommand(*m_connection, StockDocument::Receipt, 12).earlierMove()->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), moment);
        QVERIFY(!StockCommand(*m_connection, StockDocument::Distribution, 12).earlierMove()); // another kind of document
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }

    void changeOfAMissingRowHasNoRow()
    {
        // A transfer lowers the base stock of goods the base holds no row of: nothing changed there.
        m_db->exec(QLatin1String(Stock));
        upgrade();
        StockCommand command(*m_connection, StockDocument::Distribution, 4);
        command.run([&] {
            m_connection->execute(QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi - 0 WHERE IdTovary = 9"));
            command.record({9, std::nullopt, -0.0});
            m_connection->execute(QStringLiteral("INSERT INTO nayavnistvmagazuni VALUES (NULL, 7, 9, 0, 1, 1.25)"));
            command.record({9, 7, 0});
        });
        QCOMPARE(journal().mid(3), QStringList({QStringLiteral("розподіл|4|9|7|0|0")}));
    }

    void failedCommandLeavesNoRows()
    {
        m_db->exec(QLatin1String(Stock));
        upgrade();
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, command.run([&] {
            post(command, {{1, 10}});
            m_connection->execute(QStringLiteral("INSERT INTO sklad VALUES (1)")); // no such table
        }));
        QCOMPARE(journal().size(), 3);
        QCOMPARE(m_db->value(QStringLiteral("SELECT KilkistNaBazi FROM baza WHERE Id = 1")), QStringLiteral("40"));
    }

    void withoutJournalNothingIsAskedOrWritten()
    {
        m_db->exec(QStringLiteral("DROP TABLE ruhtovariv;") + QLatin1String(Stock));
        m_connection->setStatementLogging(true);
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        QVERIFY(!command.journaled());
        QVERIFY(!command.earlierMove());
        m_connection->clearStatementLog();
        command.run([&] { post(command, {{1, 10}}); });
        QCOMPARE(m_connection->statementLog(),
                 QStringList({QStringLiteral("START TRANSACTION"), QStringLiteral("SELECT Id FROM baza WHERE IdTovary = 1"),
                              QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi + 10 WHERE IdTovary = 1"), QStringLiteral("COMMIT")}));
        QVERIFY_THROWS_EXCEPTION(Error, compareStockWithJournal(*m_connection));
    }

    // A command that refuses before it changes anything ends its transaction with nothing written
    // and can be given again; one that changes stock after refusing, or refuses after a change, is a
    // faulty command and is undone whole.
    void refusal_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::newRow("refused before any change") << "refuse";
        QTest::newRow("changed after refusing") << "refuse,post";
        QTest::newRow("refused after a change") << "post,refuse";
    }
    void refusal()
    {
        QFETCH(QString, steps);
        m_db->exec(QLatin1String(Stock));
        upgrade();
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        const auto statements = [&] {
            for (const QString &step : steps.split(u','))
                if (step == u"refuse")
                    command.refuse(QStringLiteral("Склад зачинено"));
                else
                    post(command, {{1, 10}});
        };
        if (steps == u"refuse") {
            QCOMPARE(command.run(statements), StockCommand::Outcome::Refused);
            QCOMPARE(command.refusal(), QStringLiteral("Склад зачинено"));
        } else {
            QVERIFY_THROWS_EXCEPTION(Error, command.run(statements));
        }
        QCOMPARE(journal().size(), 3);
        QCOMPARE(m_db->value(QStringLiteral("SELECT KilkistNaBazi FROM baza WHERE Id = 1")), QStringLiteral("40"));

        // Given again, the refusal is gone with the run that made it.
        QCOMPARE(command.run([&] { post(command, {{1, 10}}); }), StockCommand::Outcome::Done);
        QCOMPARE(command.refusal(), QString());
        QCOMPARE(m_db->value(QStringLiteral("SELECT KilkistNaBazi FROM baza WHERE Id = 1")), QStringLiteral("50"));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }

    void lostCommit_data()
    {
        QTest::addColumn<bool>("reachedServer");
        QTest::addColumn<bool>("refused");
        QTest::newRow("COMMIT made durable, its answer lost") << true << false;
        QTest::newRow("COMMIT never reached the server") << false << false;
        // A refused command changed nothing, however its COMMIT went: the refusal is what is told.
        QTest::newRow("refused, COMMIT made durable, its answer lost") << true << true;
        QTest::newRow("refused, COMMIT never reached the server") << false << true;
    }
    void lostCommit()
    {
        QFETCH(bool, reachedServer);
        QFETCH(bool, refused);
        m_db->exec(QLatin1String(Stock));
        upgrade();
        const QString connection = [&] {
            MysqlResult result = m_connection->select(QStringLiteral("SELECT CONNECTION_ID()"));
            return QString::fromLatin1(mysql_fetch_row(result.get())[0]);
        }();
        bool armed = true;
        m_connection->setStatementObserver([&](const QString &statement) {
            if (!armed || statement != QLatin1String("COMMIT"))
                return;
            armed = false;
            if (reachedServer)
                m_connection->execute(QStringLiteral("COMMIT"));
            m_db->exec(QStringLiteral("KILL CONNECTION ") + connection);
            for (int i = 0; i < 500 && m_db->value(QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID = ") + connection) != QStringLiteral("0"); ++i)
                QTest::qWait(10);
        });
        StockCommand command(*m_connection, StockDocument::Receipt, 12);
        if (refused) {
            QCOMPARE(command.run([&] { command.refuse(QStringLiteral("Склад зачинено")); }), StockCommand::Outcome::Refused);
            QCOMPARE(command.refusal(), QStringLiteral("Склад зачинено"));
        } else if (reachedServer) {
            QCOMPARE(command.run([&] { post(command, {{1, 10}}); }), StockCommand::Outcome::DoneDespiteLostCommit);
            QCOMPARE(command.doneDespiteLostCommitText(),
                     QStringLiteral("Зв'язок з сервером перервався під час оприбуткування. Оприбуткування виконано."));
        } else {
            try {
                command.run([&] { post(command, {{1, 10}}); });
                QFAIL("a command that did not take effect was not reported");
            } catch (const Error &error) {
                QCOMPARE(error.text(), QStringLiteral("Зв'язок з сервером перервався під час оприбуткування. Оприбуткування не виконано"));
            }
        }
        QVERIFY(!armed);
        QCOMPARE(m_connection->connected(), !refused); // the lookup reconnected; a refusal looks nothing up
        QCOMPARE(m_db->value(QStringLiteral("SELECT KilkistNaBazi FROM baza WHERE Id = 1")),
                 reachedServer && !refused ? QStringLiteral("50") : QStringLiteral("40"));
        QVERIFY(compareStockWithJournal(*m_connection).mismatches.empty());
    }
};

QTEST_GUILESS_MAIN(TestStockJournal)
#include "test_stockjournal.moc"
