// The program's private database server: the first start creates it with the database and the
// demo data, later starts reuse it, a killed server is recovered, a running one is not doubled.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "data/query.h"
#include "ledger/stockcheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace coop;

class TestInternalServer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-is-XXXXXX")};

    QString count(Database &db, const QString &table)
    {
        Query q(db);
        q.sql().add(QStringLiteral("select count(*) as cnt from ") + table);
        q.open();
        return q.fieldByName(QStringLiteral("cnt"))->asString();
    }

private slots:
    void initTestCase()
    {
        // The per-user places of the program, as a desktop session gives them.
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config"))));
        QDir().mkpath(m_home.filePath(QStringLiteral("run")));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.filePath(QStringLiteral("run"))));
    }

    void firstStartCreatesEverything()
    {
        Database db; // no data-source file: MyDB3 is the internal server
        db.setConnected(true);
        QVERIFY(db.internalServer());
        QVERIFY(db.internalServer()->startedHere());
        QVERIFY(db.internalServer()->socketPath().startsWith(m_home.filePath(QStringLiteral("run"))));
        QVERIFY(count(db, QStringLiteral("tovary")).toInt() > 0);
        QVERIFY(count(db, QStringLiteral("vurychka")).toInt() > 0);
        QCOMPARE(count(db, QStringLiteral("baza")), count(db, QStringLiteral("tovary")));
        // The demo stock is explained by one opening row per stock row.
        QCOMPARE(count(db, QStringLiteral("ruhtovariv")).toInt(),
                 count(db, QStringLiteral("baza")).toInt() + count(db, QStringLiteral("nayavnistvmagazuni")).toInt());
        QVERIFY(compareStockWithJournal(db).mismatches.empty());

        // The connection dialog's defaults reach the same database.
        db.setConnected(false);
        db.setParams({QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=190400"), QStringLiteral("PASSWORD=5839")});
        db.setConnected(true);
        db.execute(QStringLiteral("Insert into tovary (NazvaTovary, MarkaTovary) values ('Позначка', 'першого запуску')"));

        // As if the data directory had been made before the stock journal, and its stock had moved since.
        db.execute(QStringLiteral("DROP TABLE ruhtovariv"));
        db.execute(QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi + 7 WHERE Id = 1"));
    } // the server is shut down with the connection's owner

    void secondStartReuses()
    {
        Database db;
        db.setConnected(true);
        QVERIFY(db.internalServer()->startedHere());
        Query q(db);
        q.sql().add(QStringLiteral("select count(*) as cnt from tovary where NazvaTovary='Позначка'"));
        q.open();
        QCOMPARE(q.fieldByName(QStringLiteral("cnt"))->asInteger(), 1); // not re-created

        // The next start gave it the journal, with opening rows for the stock as it stands.
        const int stockRows = count(db, QStringLiteral("baza")).toInt() + count(db, QStringLiteral("nayavnistvmagazuni")).toInt();
        QCOMPARE(count(db, QStringLiteral("ruhtovariv")).toInt(), stockRows);
        QVERIFY(compareStockWithJournal(db).mismatches.empty());
    }

    void journalIsAddedOnce()
    {
        Database db;
        db.setConnected(true);
        const QString before = count(db, QStringLiteral("ruhtovariv"));
        // A stock row changed behind the program's back stays unexplained at later starts.
        db.execute(QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi + 1 WHERE Id = 1"));
        db.internalServer()->stop();
        db.setConnected(false);
        db.setConnected(true);
        QCOMPARE(count(db, QStringLiteral("ruhtovariv")), before);
        QCOMPARE(compareStockWithJournal(db).mismatches.size(), size_t(1));
        db.execute(QStringLiteral("UPDATE baza SET KilkistNaBazi = KilkistNaBazi - 1 WHERE Id = 1"));
    }

    void runningServerIsNotDoubled()
    {
        InternalServer first;
        first.ensureRunning();
        const qint64 pid = first.serverPid();
        InternalServer second;
        second.ensureRunning();
        QVERIFY(!second.startedHere());
        QCOMPARE(second.serverPid(), pid);
    }

    void killedServerIsRecovered()
    {
        qint64 pid = 0;
        {
            InternalServer server;
            server.ensureRunning();
            pid = server.serverPid();
            QVERIFY(pid > 0);
            ::kill(pid_t(pid), SIGKILL);
            for (int i = 0; i < 100 && ::kill(pid_t(pid), 0) == 0; ++i)
                QTest::qWait(50);
        }
        InternalServer server;
        QVERIFY(QFile::exists(server.pidFile())); // left behind by the kill
        server.ensureRunning();
        QVERIFY(server.serverPid() != pid);
        Database db;
        QCOMPARE(count(db, QStringLiteral("tovary where NazvaTovary='Позначка'")), QStringLiteral("1"));
    }

    void changedServerVersionIsUpgradedOnce()
    {
        // As after a Debian upgrade of mariadb-server: the data directory was made by another version.
        const QString versionFile = InternalServer().dataDir() + QStringLiteral("/coop-server-version");
        {
            QFile file(versionFile);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("mariadbd  Ver 10.11.0-MariaDB");
        }
        const QString upgradeMark = InternalServer().dataDir() + QStringLiteral("/mysql_upgrade_info");
        QFile::remove(upgradeMark);
        InternalServer server;
        server.ensureRunning();
        QVERIFY(QFile::exists(upgradeMark)); // mariadb-upgrade ran
        QFile file(versionFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray recorded = file.readAll();
        QVERIFY(recorded.contains("mariadbd") && !recorded.contains("10.11.0-MariaDB"));
        QVERIFY(!QFile::exists(server.dataDir() + QStringLiteral("/../upgrade.cnf"))); // the password file is gone
        Database db;
        QCOMPARE(count(db, QStringLiteral("tovary where NazvaTovary='Позначка'")), QStringLiteral("1"));
    }

    // An upgrade that fails is told, with the end of its words, while the server runs on; the
    // version stays unrecorded, so the next start tries again, and an upgrade that succeeds records
    // it. Meanwhile the start tells what it is waiting for, and that the wait is over.
    void failedUpgradeIsToldAndTriedAgain()
    {
        const QString versionFile = InternalServer().dataDir() + QStringLiteral("/coop-server-version");
        const QByteArray oldVersion = "mariadbd  Ver 10.11.0-MariaDB";
        const auto recorded = [&] {
            QFile file(versionFile);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        {
            QFile file(versionFile);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(oldVersion);
        }
        QTemporaryDir tools;
        {
            QFile failing(tools.filePath(QStringLiteral("mariadb-upgrade")));
            QVERIFY(failing.open(QIODevice::WriteOnly));
            failing.write("#!/bin/sh\nsleep 0.5\necho 'Phase 1/8: Checking'\necho 'mysql.user is damaged' >&2\nexit 3\n");
            failing.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(tools.path()) + ':' + path);
        QStringList told;
        {
            InternalServer server;
            server.setProgress([&](const QString &doing) { told.append(doing); });
            server.ensureRunning();
            qputenv("PATH", path);
            QVERIFY2(server.upgradeFailure().contains(QStringLiteral("закінчився з кодом 3")), qPrintable(server.upgradeFailure()));
            QVERIFY(server.upgradeFailure().contains(QStringLiteral("Phase 1/8: Checking\nmysql.user is damaged")));
            QVERIFY(server.upgradeFailure().contains(QStringLiteral("повториться під час наступного запуску")));
            QVERIFY(told.size() >= 2);
            QCOMPARE(told.first(), QStringLiteral("Базу даних оновлюють для нової версії сервера MariaDB…"));
            QCOMPARE(told.last(), QString());
            QCOMPARE(recorded(), oldVersion);
            Database db; // the server works on
            QCOMPARE(count(db, QStringLiteral("tovary where NazvaTovary='Позначка'")), QStringLiteral("1"));
        }
        InternalServer server;
        server.ensureRunning();
        QCOMPARE(server.upgradeFailure(), QString());
        QVERIFY(recorded().contains("mariadbd") && !recorded().contains("10.11.0-MariaDB"));
    }

    void unfinishedFirstStartStartsOver()
    {
        InternalServer::Location location;
        location.dataHome = m_home.filePath(QStringLiteral("second"));
        location.socketDir = m_home.filePath(QStringLiteral("second-run"));
        QDir().mkpath(location.dataHome + QStringLiteral("/data/mysql")); // as if cut off mid-way
        InternalServer server(location);
        server.ensureRunning();
        QVERIFY(QFile::exists(server.dataDir() + QStringLiteral("/coop-initialised")));
        server.stop();
        QVERIFY(!QFile::exists(server.socketPath()));
    }

    void overlongSocketPathIsRefused()
    {
        InternalServer::Location location;
        location.dataHome = m_home.filePath(QStringLiteral("third"));
        location.socketDir = m_home.filePath(QString(120, u's'));
        InternalServer server(location);
        try {
            server.ensureRunning();
            QFAIL("started");
        } catch (const Error &error) {
            QVERIFY(error.text().contains(QStringLiteral("longer than")));
        }
    }
};

QTEST_GUILESS_MAIN(TestInternalServer)
#include "test_internalserver.moc"
