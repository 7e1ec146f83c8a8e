// The connection object: its stored settings, Params, silent reconnection, closing, the session it
// sets up, the engine's refusals, and all-or-nothing transactions.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/query.h"
#include "data/transaction.h"
#include "support/loopbackport.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace coop;

class TestDatabaseConnection : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;

    QString connectionId(Database &db)
    {
        Query q(db);
        q.sql().add(QStringLiteral("select connection_id() as cid"));
        q.open();
        return q.fieldByName(QStringLiteral("cid"))->asString();
    }

private slots:
    void init() { m_db = std::make_unique<TestDatabase>(); }
    void cleanup() { m_db.reset(); }

    void storedSettings()
    {
        Database db;
        QCOMPARE(db.aliasName(), QStringLiteral("MyDB3"));
        QCOMPARE(db.databaseName(), QStringLiteral("190400"));
        QCOMPARE(db.loginPrompt(), false);
        QCOMPARE(db.params(), QStringList{QStringLiteral("USER NAME=root")});
        QVERIFY(!db.connected());
        db.setConnected(true);
        QVERIFY(db.connected());
        Query q(db);
        QCOMPARE(q.databaseName(), QStringLiteral("190400"));
    }

    void sessionSettings()
    {
        // Whatever the server's defaults, each session has strict mode, NO_BACKSLASH_ESCAPES and utf8mb4.
        m_db->exec(QStringLiteral("SET GLOBAL sql_mode=''"));
        Database db;
        Query q(db);
        q.sql().add(QStringLiteral("select @@session.sql_mode as m, @@character_set_client as c, @@character_set_results as r"));
        q.open();
        m_db->exec(QStringLiteral("SET GLOBAL sql_mode='STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'"));
        QVERIFY(q.fieldByName(QStringLiteral("m"))->asString().contains(QStringLiteral("NO_BACKSLASH_ESCAPES")));
        QVERIFY(q.fieldByName(QStringLiteral("m"))->asString().contains(QStringLiteral("STRICT_ALL_TABLES")));
        QCOMPARE(q.fieldByName(QStringLiteral("c"))->asString(), QStringLiteral("utf8mb4"));
        QCOMPARE(q.fieldByName(QStringLiteral("r"))->asString(), QStringLiteral("utf8mb4"));
    }

    void closingClosesQueriesAndUseReconnects()
    {
        Database db;
        db.setStatementLogging(true);
        Query a(db), b(db);
        a.sql().add(QStringLiteral("select * from tovary"));
        b.sql().add(QStringLiteral("select * from baza"));
        a.open();
        b.open();
        QSignalSpy changes(&db, &Database::connectedChanged);
        db.setConnected(false);
        QVERIFY(!a.active() && !b.active());
        QVERIFY(!db.connected());
        db.setConnected(false); // a second time does nothing
        QCOMPARE(changes.count(), 1);
        a.open(); // silently reconnects
        QVERIFY(db.connected());
        QCOMPARE(db.statementLog(), QStringList({QStringLiteral("select * from tovary"), QStringLiteral("select * from baza"), QStringLiteral("select * from tovary")}));
    }

    void paramsDecideTheLogin_data()
    {
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("fragment"); // empty: connects
        QTest::newRow("stored line") << QStringList{QStringLiteral("USER NAME=root")} << "";
        QTest::newRow("dialog lines") << QStringList{QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=") + QString(), QStringLiteral("PASSWORD=")} << "";
        QTest::newRow("wrong password") << QStringList{QStringLiteral("USER NAME=root"), QStringLiteral("PASSWORD=nope")} << "Access denied for user 'root'";
        QTest::newRow("unknown user") << QStringList{QStringLiteral("USER NAME=nobody"), QStringLiteral("PASSWORD=")} << "Access denied for user 'nobody'";
        QTest::newRow("unknown database") << QStringList{QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=no_such_db"), QStringLiteral("PASSWORD=")} << "Unknown database 'no_such_db'";
    }
    void paramsDecideTheLogin()
    {
        QFETCH(QStringList, params);
        QFETCH(QString, fragment);
        // An empty DATABASE NAME means the data source's database.
        for (QString &line : params)
            if (line == QStringLiteral("DATABASE NAME="))
                line += m_db->name();
        Database db;
        db.setParams(params);
        if (fragment.isEmpty()) {
            db.setConnected(true);
            QVERIFY(db.connected());
            return;
        }
        try {
            db.setConnected(true);
            QFAIL("connected");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.text().contains(fragment), qPrintable(error.text()));
        }
        QVERIFY(!db.connected());
        QCOMPARE(db.params(), params); // kept, so later silent reconnections fail the same way
        Query q(db);
        q.sql().add(QStringLiteral("select 1"));
        QVERIFY_THROWS_EXCEPTION(DatabaseError, q.open());
    }

    void lostConnectionIsReportedThenReconnected()
    {
        Database db;
        const QString first = connectionId(db);
        m_db->exec(QStringLiteral("KILL CONNECTION %1").arg(first));
        Query q(db);
        q.sql().add(QStringLiteral("select count(*) as cnt from tovary"));
        try {
            q.open();
            QFAIL("the dead connection answered");
        } catch (const DatabaseError &error) {
            QVERIFY(error.isConnectionLost());
        }
        QVERIFY(!db.connected());
        q.open(); // the next use reconnects with the current Params
        QCOMPARE(q.fieldByName(QStringLiteral("cnt"))->asInteger(), 0);
        QVERIFY(connectionId(db) != first);
    }

    void unreachableServer()
    {
        m_db->writeDataSource(QStringLiteral("[MyDB3]\nSocket=/nonexistent/mariadbd.sock\n"));
        Database db;
        try {
            db.setConnected(true);
            QFAIL("connected");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.text().contains(QStringLiteral("/nonexistent/mariadbd.sock")), qPrintable(error.text()));
        }
        QVERIFY(!db.connected());
        QVERIFY(db.internalServer() == nullptr); // no server was started for an outside source
    }

    // Every host of the list is tried in order, a silent one given up after ConnectTimeout; when all
    // fail, the error is the last host's.
    void hostListTriedInOrder_data()
    {
        QTest::addColumn<bool>("silentFirst");
        QTest::addColumn<uint>("lastCode");
        QTest::newRow("silent, then refusing") << true << 2002u;
        QTest::newRow("refusing, then silent") << false << 2013u;
    }
    void hostListTriedInOrder()
    {
        QFETCH(bool, silentFirst);
        QFETCH(uint, lastCode);
        const LoopbackPort silent(true), refusing(false);
        const QString hosts = silentFirst ? silent.entry() + u',' + refusing.entry() : refusing.entry() + u',' + silent.entry();
        m_db->writeDataSource(QStringLiteral("[MyDB3]\nServer=%1\nConnectTimeout=1\n").arg(hosts));
        Database db;
        try {
            db.setConnected(true);
            QFAIL("connected");
        } catch (const DatabaseError &error) {
            QVERIFY2(error.code() == lastCode, qPrintable(QStringLiteral("%1 %2").arg(error.code()).arg(error.text())));
        }
        QVERIFY(!db.connected());
    }

    void transactionRollsBackUnlessCommitted()
    {
        Database db;
        try {
            runInTransaction(db, [&] {
                db.execute(QStringLiteral("insert into `baza` values (NULL,1,10);"));
                db.execute(QStringLiteral("insert into `baza` values (NULL,2,'x');")); // refused
            });
            QFAIL("the refusal was swallowed");
        } catch (const DatabaseError &error) {
            QVERIFY(error.text().contains(QStringLiteral("Incorrect double value")));
        }
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from baza")), QStringLiteral("0"));

        runInTransaction(db, [&] { db.execute(QStringLiteral("insert into `baza` values (NULL,1,10);")); });
        QCOMPARE(m_db->value(QStringLiteral("select count(*) from baza")), QStringLiteral("1"));

        {
            Transaction open(db);
            db.execute(QStringLiteral("update baza set KilkistNaBazi=0"));
        } // abandoned
        QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza")), QStringLiteral("10"));
    }

    void deadlockRerunsTheWholeCommand()
    {
        Database db;
        int attempts = 0;
        runInTransaction(db, [&] {
            ++attempts;
            db.execute(QStringLiteral("update baza set KilkistNaBazi=1"));
            if (attempts < 3)
                throw DatabaseError(QStringLiteral("Deadlock found when trying to get lock"), 1213);
        });
        QCOMPARE(attempts, 3);

        attempts = 0;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, runInTransaction(db, [&] {
            ++attempts;
            throw DatabaseError(QStringLiteral("Lock wait timeout exceeded"), 1205);
        }));
        QCOMPARE(attempts, 8);

        attempts = 0;
        QVERIFY_THROWS_EXCEPTION(DatabaseError, runInTransaction(db, [&] {
            ++attempts;
            throw DatabaseError(QStringLiteral("Data too long"), 1406);
        }));
        QCOMPARE(attempts, 1); // other refusals are not retried
    }

    void stockRowCreatedMeanwhileIsFoundOnTheRerun()
    {
        // Two clerks post the first receipt of a goods at once: the other one's row appears between
        // our count and our insert. The unique key refuses our insert; the re-run counts it and adds.
        Database db;
        int attempts = 0;
        runInTransaction(db, [&] {
            ++attempts;
            Query count(db);
            count.sql().add(QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza` where (`IdTovary`=7);"));
            count.open();
            if (attempts == 1)
                m_db->exec(QStringLiteral("insert into baza values (NULL, 7, 5)"));
            if (count.fieldByName(QStringLiteral("cnt"))->asInteger() < 1)
                db.execute(QStringLiteral("insert into `baza` values (NULL,7,10);"));
            else
                db.execute(QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+('10') where IdTovary=7"));
        });
        QCOMPARE(attempts, 2);
        QCOMPARE(m_db->rows(QStringLiteral("select KilkistNaBazi from baza where IdTovary=7")), QStringList{QStringLiteral("15")});
    }

    void realLockWaitIsRetried()
    {
        // Another session holds the row; the command waits, times out, and succeeds on a re-run
        // once the other session lets go.
        m_db->exec(QStringLiteral("insert into baza values (NULL, 1, 5)"));
        Database db;
        db.execute(QStringLiteral("SET SESSION innodb_lock_wait_timeout=1"));
        m_db->exec(QStringLiteral("START TRANSACTION; UPDATE baza SET KilkistNaBazi=6 WHERE IdTovary=1"));
        int attempts = 0;
        runInTransaction(db, [&] {
            if (++attempts == 2)
                m_db->exec(QStringLiteral("COMMIT"));
            db.execute(QStringLiteral("update `baza` set `KilkistNaBazi`=`KilkistNaBazi`+10 where `IdTovary`=1"));
        });
        QCOMPARE(attempts, 2);
        QCOMPARE(m_db->value(QStringLiteral("select KilkistNaBazi from baza")), QStringLiteral("16"));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseConnection)
#include "test_database.moc"
