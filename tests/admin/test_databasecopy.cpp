// Copies of the database: written while the server works, loaded back whole or not at all, never
// over a running program, never over a shared server unless asked. The administrator's commands
// are run as the program itself, without a display.
#include "admin/automaticcopies.h"
#include "admin/databasecopy.h"
#include "admin/datahomelock.h"
#include "admin/dumprowcounter.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace coop;

namespace {

struct Run
{
    int status = -1;
    QString out, err;
};

MysqlHandle adminOf(const ConnectTarget &target)
{
    ConnectTarget multi = target;
    multi.multiStatements = true;
    return connectMysql(multi);
}

QStringList select(MYSQL *handle, const QString &statement)
{
    const QByteArray sql = statement.toUtf8();
    if (mysql_real_query(handle, sql.constData(), sql.size()) != 0)
        throw DatabaseError(QString::fromUtf8(mysql_error(handle)), mysql_errno(handle), statement);
    MysqlResult result(mysql_store_result(handle));
    QStringList rows;
    const unsigned columns = mysql_num_fields(result.get());
    while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
        QStringList cells;
        for (unsigned i = 0; i < columns; ++i)
            cells.append(row[i] ? QString::fromUtf8(row[i]) : QStringLiteral("NULL"));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

// Every table with its CHECKSUM TABLE, the tables' names without their database.
QStringList checksums(MYSQL *handle, const QString &database)
{
    QStringList tables = select(handle, QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA='%1' ORDER BY 1").arg(database));
    QStringList sums;
    for (const QString &table : tables)
        sums += table + u'|' + select(handle, QStringLiteral("CHECKSUM TABLE `%1`.`%2` EXTENDED").arg(database, table)).value(0).section(u'|', 1);
    return sums;
}

} // namespace

class TestDatabaseCopy : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-copy-XXXXXX")};
    QString m_config;

    QString path(const QString &name) const { return m_home.filePath(name); }

    InternalServer::Location location() const
    {
        return {path(QStringLiteral("data/myrolan")), path(QStringLiteral("run/myrolan-db"))};
    }

    ConnectTarget internalTarget() const
    {
        ConnectTarget target;
        target.socket = InternalServer(location()).socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
        target.database = QString::fromLatin1(InternalServer::DatabaseName);
        return target;
    }

    void writeDataSource(const QString &text)
    {
        const QString dir = path(QStringLiteral("config/myrolan"));
        QDir().mkpath(dir);
        QFile file(dir + QStringLiteral("/datasources.ini"));
        if (text.isEmpty()) {
            file.remove();
            return;
        }
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    // The program as cron runs it: no display, the per-user places of the test's home.
    Run myrolan(const QStringList &arguments)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MYROLAN_PROGRAM), arguments);
        Run run;
        if (!program.waitForFinished(600000))
            return run;
        run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.out = QString::fromUtf8(program.readAllStandardOutput());
        run.err = QString::fromUtf8(program.readAllStandardError());
        return run;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QDir().mkpath(path(QStringLiteral("run")));
        QDir().mkpath(path(QStringLiteral("copies")));
    }

    void countsRowsOfTheDump_data()
    {
        QTest::addColumn<QByteArray>("dump");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << QByteArray("-- MariaDB dump\nCREATE TABLE `a` (\n  `Id` int\n);\nINSERT INTO `a` VALUES (1,'x'),(2,'y');\nCREATE TABLE `b` (\n);\n")
                               << "a=2 b=0";
        QTest::newRow("brackets and quotes in text")
            << QByteArray("INSERT INTO `t` VALUES (1,'),(\\'),('),(2,'O\\'Brien (x)'),(3,NULL);\n") << "t=3";
        QTest::newRow("backslash before quote end") << QByteArray("INSERT INTO `t` VALUES (1,'a\\\\'),(2,'b');\n") << "t=2";
        QTest::newRow("a row a line") << QByteArray("LOCK TABLES `t` WRITE;\nINSERT INTO `t` VALUES\n(1,'a;b'),\n(2,'(c)\\n');\nUNLOCK TABLES;\nINSERT INTO `u` VALUES\n(7);\n")
                                      << "t=2 u=1";
        QTest::newRow("split inserts") << QByteArray("INSERT INTO `t` VALUES (1),(2);\nINSERT INTO `t` VALUES (3);\nINSERT INTO `u` VALUES (1);\n") << "t=3 u=1";
        QTest::newRow("not an insert") << QByteArray("/*!40101 SET x=(1),(2) */;\n-- INSERT INTO `t` VALUES (1);\nINSERTED (1);\n") << "";
        QTest::newRow("utf-8 name") << QByteArray("INSERT INTO `товари` VALUES (1,'Кав\\'ярня');\n") << "товари=1";
    }

    // Fed whole and in pieces cut at every place: the counts do not depend on where a read ends.
    void countsRowsOfTheDump()
    {
        QFETCH(QByteArray, dump);
        QFETCH(QString, expected);
        for (qsizetype cut = 0; cut <= dump.size(); ++cut) {
            DumpRowCounter counter;
            counter.feed(dump.left(cut));
            counter.feed(dump.mid(cut));
            QStringList tables;
            for (const TableRows &table : counter.tables())
                tables += table.table + u'=' + QString::number(table.rows);
            QCOMPARE(tables.join(u' '), expected);
        }
    }

    void automaticCopiesOneADaySevenKept()
    {
        QTemporaryDir home;
        const AutomaticCopies copies(home.path());
        const QDateTime now(QDate(2026, 12, 10), QTime(17, 0));
        QVERIFY(copies.due(now));
        QDir().mkpath(copies.folder());
        QFile(copies.folder() + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
        QFile(copies.folder() + QStringLiteral("/190400-before-restore-2026-01-01-000000.sql.gz")).open(QIODevice::WriteOnly);
        for (int day = 0; day < 9; ++day)
            QVERIFY(QFile(copies.fileFor(now.addDays(-9 + day).addSecs(60))).open(QIODevice::WriteOnly));
        QVERIFY(!copies.due(now)); // the newest is 23 h 59 min old
        QVERIFY(copies.due(now.addSecs(120)));
        copies.prune();
        const QStringList kept = copies.existing();
        QCOMPARE(kept.size(), AutomaticCopies::Kept);
        QCOMPARE(kept.first(), copies.fileFor(now.addDays(-7).addSecs(60)));
        QCOMPARE(kept.last(), copies.fileFor(now.addDays(-1).addSecs(60)));
        QVERIFY(QFile::exists(copies.folder() + QStringLiteral("/notes.txt")));
        QVERIFY(QFile::exists(copies.folder() + QStringLiteral("/190400-before-restore-2026-01-01-000000.sql.gz")));
    }

    // The internal server is started for the copy and stopped after it.
    void backupStartsAndStopsTheInternalServer()
    {
        writeDataSource({});
        const QString file = path(QStringLiteral("copies/first.sql.gz"));
        const Run run = myrolan({QStringLiteral("--backup"), file});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QVERIFY(run.err.isEmpty());
        QVERIFY2(run.out.trimmed().section(u'\n', -1).contains(QStringLiteral("таблиць ")), qPrintable(run.out));
        QVERIFY(QFile::exists(file));
        QCOMPARE(QFile(file).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
        QVERIFY(!QFile::exists(InternalServer(location()).pidFile()));
        QVERIFY(!QFileInfo::exists(InternalServer(location()).socketPath()));
    }

    // Demo data, a copy, rows changed, the copy restored: every table as it was at the copy.
    void roundTrip()
    {
        writeDataSource({});
        InternalServer server(location());
        server.ensureRunning();
        MysqlHandle admin = adminOf(internalTarget());
        runScript(admin.get(),
                  "INSERT INTO tovary (NazvaTovary, MarkaTovary) VALUES ('Кав''ярня \\ (1),(2)', 'O''Brien');"
                  "INSERT INTO vurychka (IdMagazuny, Syma, Data) SELECT IdMagazuny, Syma + 0.01, Data FROM vurychka LIMIT 3",
                  QStringLiteral("special rows"));
        const QString database = QString::fromLatin1(InternalServer::DatabaseName);
        const QStringList before = checksums(admin.get(), database);
        const QString goods = select(admin.get(), QStringLiteral("SELECT COUNT(*) FROM tovary")).value(0);

        const QString file = path(QStringLiteral("copies/day.sql.gz"));
        const Run backup = myrolan({QStringLiteral("--backup"), file});
        QVERIFY2(backup.status == 0, qPrintable(backup.err));
        QVERIFY2(backup.out.contains(QRegularExpression(QStringLiteral("\\btovary +") + QLocale(QLocale::Ukrainian).toString(goods.toLongLong()) + u'\n')),
                 qPrintable(backup.out));
        QVERIFY(server.serverPid() > 0); // a running server is not stopped by the copy

        runScript(admin.get(),
                  "UPDATE tovary SET NazvaTovary = 'змінено' WHERE Id <= 3; DELETE FROM vurychka WHERE Id % 2 = 0;"
                  "INSERT INTO postachalnuku (NazvaPostachalnuka) VALUES ('новий'); DROP TABLE magazunu;"
                  "CREATE TABLE zayva (Id int)",
                  QStringLiteral("changes"));
        QVERIFY(checksums(admin.get(), database) != before);

        const Run restore = myrolan({QStringLiteral("--restore"), file});
        QVERIFY2(restore.status == 0, qPrintable(restore.err + restore.out));
        QCOMPARE(checksums(admin.get(), database), before);
        QVERIFY(select(admin.get(), QStringLiteral("SHOW DATABASES LIKE '%1\\_%'").arg(database)).isEmpty());

        // The database replaced is kept beside the copy, with the changes in it.
        const QStringList kept = QDir(path(QStringLiteral("copies"))).entryList({database + QStringLiteral("-before-restore-*.sql.gz")});
        QCOMPARE(kept.size(), 1);
        QVERIFY(restore.out.contains(kept.first()));
        const Run back = myrolan({QStringLiteral("--restore"), path(QStringLiteral("copies/") + kept.first())});
        QVERIFY2(back.status == 0, qPrintable(back.err));
        QCOMPARE(select(admin.get(), QStringLiteral("SELECT NazvaTovary FROM tovary WHERE Id = 1")).value(0), QStringLiteral("змінено"));
        QVERIFY(!select(admin.get(), QStringLiteral("SHOW TABLES LIKE 'zayva'")).isEmpty());

        // The automatic copy of the day is one more such copy.
        const QString automatic = AutomaticCopies(location().dataHome).writeIfDue(internalTarget(), QDateTime::currentDateTime());
        QVERIFY(QFile::exists(automatic));
        QVERIFY(AutomaticCopies(location().dataHome).writeIfDue(internalTarget(), QDateTime::currentDateTime()).isEmpty());
    }

    // A copy that fails to load leaves the database as it was.
    void badCopyChangesNothing()
    {
        writeDataSource({});
        InternalServer server(location());
        server.ensureRunning();
        MysqlHandle admin = adminOf(internalTarget());
        const QString database = QString::fromLatin1(InternalServer::DatabaseName);
        const QStringList before = checksums(admin.get(), database);
        const QString file = path(QStringLiteral("copies/broken.sql"));
        QFile broken(file);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("CREATE TABLE tovary (Id int);\nINSERT INTO tovary VALUES (1);\nCREATE TABLE t (Id int,,);\n");
        broken.close();
        const Run restore = myrolan({QStringLiteral("--restore"), file});
        QCOMPARE(restore.status, 1);
        QVERIFY2(restore.err.contains(QStringLiteral("ERROR 1064")), qPrintable(restore.err));
        QCOMPARE(checksums(admin.get(), database), before);
        QVERIFY(select(admin.get(), QStringLiteral("SHOW DATABASES LIKE '%1\\_%'").arg(database)).isEmpty());
    }

    // A copy of the program's own, with its sandbox line taken out and a hostile statement put in
    // among its tables: refused before anything is touched, naming the line; no shell command runs,
    // no database or copy is made, the database stays as it was.
    void hostileCopyRefused_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("shell") << QByteArray("\\! touch MARKER\n") << QStringLiteral("«\\!»: команда клієнта mariadb");
        QTest::newRow("system") << QByteArray("system touch MARKER\n") << QStringLiteral("«system touch /»");
        QTest::newRow("use") << QByteArray("USE mysql;\n") << QStringLiteral("«USE mysql»: він стосується іншої бази");
        QTest::newRow("database") << QByteArray("CREATE DATABASE evil;\n") << QStringLiteral("іншої бази");
        QTest::newRow("grant") << QByteArray("/*!40101 GRANT ALL ON *.* TO 'kasa'@'%' */;\n") << QStringLiteral("облікові записи");
        QTest::newRow("trigger")
            << QByteArray("DELIMITER ;;\n/*!50003 CREATE*/ /*!50003 TRIGGER t BEFORE INSERT ON tovary FOR EACH ROW SET NEW.Id=1 */;;\nDELIMITER ;\n")
            << QStringLiteral("«DELIMITER»");
        QTest::newRow("file") << QByteArray("SELECT 1 INTO OUTFILE 'MARKER';\n") << QStringLiteral("файли сервера");
        QTest::newRow("another table") << QByteArray("INSERT INTO mysql.user VALUES ('x');\n") << QStringLiteral("таблицю іншої бази");
    }
    void hostileCopyRefused()
    {
        QFETCH(QByteArray, statement);
        QFETCH(QString, refusal);
        writeDataSource({});
        InternalServer server(location());
        server.ensureRunning();
        MysqlHandle admin = adminOf(internalTarget());
        const QString database = QString::fromLatin1(InternalServer::DatabaseName);
        const QStringList before = checksums(admin.get(), database);

        const QString own = path(QStringLiteral("copies/own.sql.gz"));
        if (!QFile::exists(own))
            writeDatabaseCopy(internalTarget(), own);
        QProcess gunzip;
        gunzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), own});
        QVERIFY(gunzip.waitForFinished());
        QList<QByteArray> lines = gunzip.readAllStandardOutput().split('\n');
        QVERIFY(lines.first().contains("sandbox"));
        lines.removeFirst();
        const QString marker = path(QStringLiteral("copies/shell-ran"));
        // Before the second table, where one statement has ended and the next begins.
        qsizetype at = -1;
        for (int seen = 0; seen < 2;)
            seen += lines[++at].startsWith("DROP TABLE IF EXISTS") ? 1 : 0;
        lines.insert(at, QByteArray(statement).replace("MARKER", marker.toUtf8()));
        const QString hostile = path(QStringLiteral("copies/hostile.sql"));
        QFile file(hostile);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join('\n'));
        file.close();
        const QStringList copies = QDir(path(QStringLiteral("copies"))).entryList(QDir::Files);

        const Run restore = myrolan({QStringLiteral("--restore"), hostile});
        QCOMPARE(restore.status, 1);
        QVERIFY2(restore.err.contains(QStringLiteral("не відновлено, базу не змінено: рядок %1").arg(at + 1)), qPrintable(restore.err));
        QVERIFY2(restore.err.contains(refusal), qPrintable(restore.err));
        QVERIFY(restore.out.isEmpty());
        QVERIFY(!QFile::exists(marker));
        QCOMPARE(QDir(path(QStringLiteral("copies"))).entryList(QDir::Files), copies);
        QCOMPARE(checksums(admin.get(), database), before);
        QVERIFY(select(admin.get(), QStringLiteral("SHOW DATABASES LIKE '%1\\_%'").arg(database)).isEmpty());
        QVERIFY(select(admin.get(), QStringLiteral("SHOW DATABASES LIKE 'evil'")).isEmpty());
    }

    void restoreRefusedWhileTheProgramRuns()
    {
        writeDataSource({});
        const DataHomeLock program(location().dataHome, DataHomeLock::Mode::Shared);
        QVERIFY(program.isHeld());
        const Run restore = myrolan({QStringLiteral("--restore"), path(QStringLiteral("copies/day.sql.gz"))});
        QCOMPARE(restore.status, 1);
        QVERIFY2(restore.err.contains(QStringLiteral("Програма працює з даними")), qPrintable(restore.err));
        QVERIFY(restore.out.isEmpty());
        // A second program, and a copy, may run beside it.
        QVERIFY(DataHomeLock(location().dataHome, DataHomeLock::Mode::Shared).isHeld());
        QVERIFY(!DataHomeLock(location().dataHome, DataHomeLock::Mode::Exclusive).isHeld());
    }

    // A shared server: read with the data source's account; replaced only with --force.
    void sharedServer()
    {
        TestDatabase shared(true);
        writeDataSource(shared.dataSourceText());
        const QString file = path(QStringLiteral("copies/shared.sql.gz"));
        const Run backup = myrolan({QStringLiteral("--backup"), file});
        QVERIFY2(backup.status == 0, qPrintable(backup.err));
        const QStringList before = checksums(shared.admin(), shared.name());
        shared.exec(QStringLiteral("DELETE FROM tovary"));

        const Run refused = myrolan({QStringLiteral("--restore"), file});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("--force")), qPrintable(refused.err));
        QCOMPARE(shared.value(QStringLiteral("SELECT COUNT(*) FROM tovary")), QStringLiteral("0"));

        const Run forced = myrolan({QStringLiteral("--restore"), file, QStringLiteral("--force")});
        QVERIFY2(forced.status == 0, qPrintable(forced.err));
        QCOMPARE(checksums(shared.admin(), shared.name()), before);
        writeDataSource({});
    }

    // A failed copy reports the server's words and leaves no file, not even a partial one.
    void failedBackupLeavesNoFile()
    {
        TestDatabase shared;
        writeDataSource(shared.dataSourceText().replace(shared.name(), QStringLiteral("absent_db")));
        const Run backup = myrolan({QStringLiteral("--backup"), path(QStringLiteral("copies/none.sql.gz"))});
        QCOMPARE(backup.status, 1);
        QVERIFY2(backup.err.contains(QStringLiteral("Unknown database 'absent_db'")), qPrintable(backup.err));
        QVERIFY(QDir(path(QStringLiteral("copies"))).entryList({QStringLiteral("*none*")}, QDir::Files | QDir::Hidden).isEmpty());
        const Run nowhere = myrolan({QStringLiteral("--backup"), path(QStringLiteral("no/such/dir/x.sql.gz"))});
        QCOMPARE(nowhere.status, 1);
        writeDataSource({});
    }
};

QTEST_GUILESS_MAIN(TestDatabaseCopy)
#include "test_databasecopy.moc"
