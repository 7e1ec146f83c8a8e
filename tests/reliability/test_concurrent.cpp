// Four clerks at once on one shared server, each a process of its own with the program's receipts
// and distribution screens, posting receipts and moving distributions of the same goods to the same
// shops. Afterwards every stock quantity is the exact sum of what was posted and moved, no goods has
// two base rows nor a shop two rows of one goods, and every command either took effect entirely or
// was reported to its clerk.
#include "sharedserver.h"
#include "data/databaseerror.h"
#include "sqlhelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace reliability;

namespace {

constexpr int Clerks = 4;
constexpr int Rounds = 150;      // per clerk; each round one posting and one transfer
constexpr int ClerkSeconds = 50; // and none goes on longer than this

QString clerkProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/reliability_clerk"); }

} // namespace

class TestConcurrent : public QObject
{
    Q_OBJECT

    SharedServer m_server;
    QTemporaryDir m_config{QStringLiteral("/tmp/coop-relc-XXXXXX")};

private slots:
    void initTestCase()
    {
        QVERIFY(QFile::exists(clerkProgram()));
        try {
            m_server.start();
        } catch (const coop::Error &error) {
            QFAIL(qPrintable(error.text()));
        }
        coop::MysqlHandle admin = m_server.admin();
        sqlExec(admin.get(), QStringLiteral(
            "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'Зоря');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Іваненко');"
            "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) VALUES (1, 'Колос', 'Центральна, 1', 1), (2, 'Ромашка', 'Садова, 3', 1);"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (1, 'Сіль'), (2, 'Цукор'), (3, 'Олія'), (4, 'Борошно')"));
        // The clerks' program reads MyDB3 from its own data-source file.
        const QString dir = m_config.filePath(QStringLiteral("reliability_clerk"));
        QVERIFY(QDir().mkpath(dir));
        QFile file(dir + QStringLiteral("/datasources.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(m_server.dataSourceText().toUtf8());
    }

    void cleanupTestCase() { m_server.stop(); }

    // The clerks' account reads and writes rows, and nothing more.
    void clerkAccountHasOnlyRowPrivileges_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("select") << "SELECT COUNT(*) FROM tovary" << true;
        QTest::newRow("update") << "UPDATE tovary SET MarkaTovary=MarkaTovary WHERE Id=1" << true;
        QTest::newRow("drop table") << "DROP TABLE tovary" << false;
        QTest::newRow("create table") << "CREATE TABLE extra (Id INT)" << false;
        QTest::newRow("alter table") << "ALTER TABLE tovary ADD COLUMN extra INT" << false;
        QTest::newRow("another database") << "SELECT COUNT(*) FROM mysql.user" << false;
        QTest::newRow("grant") << "GRANT ALL ON `coop`.* TO 'root'@'127.0.0.1'" << false;
        QTest::newRow("shutdown") << "SHUTDOWN" << false;
    }
    void clerkAccountHasOnlyRowPrivileges()
    {
        QFETCH(QString, statement);
        QFETCH(bool, allowed);
        coop::MysqlHandle clerk = m_server.clerk();
        const QByteArray sql = statement.toUtf8();
        const bool ran = mysql_real_query(clerk.get(), sql.constData(), sql.size()) == 0;
        QVERIFY2(ran == allowed, mysql_error(clerk.get()));
        coop::MysqlResult discard(mysql_store_result(clerk.get()));
    }

    void fourClerksAtOnce()
    {
        const QString startFile = m_config.filePath(QStringLiteral("start"));
        const auto deadlocks = [this] {
            coop::MysqlHandle admin = m_server.admin();
            return sqlRows(admin.get(), QStringLiteral("SHOW GLOBAL STATUS LIKE 'Innodb_deadlocks'")).value(0).section(u'|', 1, 1).toInt();
        };
        const int deadlocksBefore = deadlocks();
        std::vector<std::unique_ptr<QProcess>> clerks;
        for (int clerk = 0; clerk < Clerks; ++clerk) {
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            process->setProcessEnvironment(env);
            process->start(clerkProgram(), {QString::number(clerk), QString::number(Rounds), QString::number(ClerkSeconds), startFile});
            QVERIFY(process->waitForStarted(10000));
            clerks.push_back(std::move(process));
        }

        QFile start(startFile);
        QVERIFY(start.open(QIODevice::WriteOnly));
        start.close();

        // What each clerk was told of each command.
        QStringList postedOk, movedOk;
        int commands = 0, reported = 0, refused = 0, setupErrors = 0;
        QStringList reportedTexts;
        for (int clerk = 0; clerk < Clerks; ++clerk) {
            QProcess &process = *clerks[clerk];
            if (!process.waitForFinished((ClerkSeconds + 60) * 1000)) {
                process.kill();
                process.waitForFinished(5000);
                QFAIL("a clerk did not stop by itself");
            }
            QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
                     qPrintable(QString::fromLocal8Bit(process.readAllStandardError())));
            const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
            for (const QString &line : lines) {
                const QStringList words = line.split(u' ');
                if (words.value(0) == u"reruns")
                    continue;
                if (words.value(0) == u"setup") {
                    ++setupErrors;
                    reportedTexts << line;
                    continue;
                }
                QVERIFY2(words.size() >= 3 && (words[0] == u"post" || words[0] == u"move"), qPrintable(line));
                ++commands;
                const QString outcome = words[2];
                QVERIFY2(outcome != u"unreported", qPrintable(line));
                if (outcome == u"ok")
                    (words[0] == u"post" ? postedOk : movedOk) << words[1];
                else if (outcome == u"refused")
                    ++refused;
                else {
                    QCOMPARE(outcome, QStringLiteral("error"));
                    ++reported;
                    reportedTexts << line;
                }
            }
        }

        // What the stock must hold: the lines of every posted receipt, less the lines of every moved
        // distribution; each shop what was moved to it.
        coop::MysqlHandle admin = m_server.admin();
        QMap<QString, double> base, shop;
        if (!postedOk.isEmpty())
            for (const QString &row : sqlRows(admin.get(), QStringLiteral("SELECT IdTovary, Kilkist FROM chonadishlo WHERE IdNadhodgennya IN (%1)")
                                                               .arg(postedOk.join(u','))))
                base[row.section(u'|', 0, 0)] += row.section(u'|', 1, 1).toDouble();
        if (!movedOk.isEmpty())
            for (const QString &row : sqlRows(admin.get(), QStringLiteral("SELECT r.IdMagazuny, p.IdTovary, p.Kilkist FROM pozuciirozpodily p, rozpodil r "
                                                                          "WHERE p.IdRozpodily = r.Id AND r.Id IN (%1)")
                                                               .arg(movedOk.join(u','))))
            {
                const QString goods = row.section(u'|', 1, 1);
                const double quantity = row.section(u'|', 2, 2).toDouble();
                base[goods] -= quantity;
                shop[row.section(u'|', 0, 0) + u'/' + goods] += quantity;
            }

        QMap<QString, double> baseHeld, shopHeld;
        for (const QString &row : sqlRows(admin.get(), QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza")))
            baseHeld[row.section(u'|', 0, 0)] += row.section(u'|', 1, 1).toDouble();
        for (const QString &row : sqlRows(admin.get(), QStringLiteral("SELECT IdMagazuny, IdTovary, Kilkist FROM nayavnistvmagazuni")))
            shopHeld[row.section(u'|', 0, 0) + u'/' + row.section(u'|', 1, 1)] += row.section(u'|', 2, 2).toDouble();

        int mismatches = 0;
        QStringList details;
        for (const auto *pair : {&base, &shop}) {
            const QMap<QString, double> &expected = *pair;
            const QMap<QString, double> &held = pair == &base ? baseHeld : shopHeld;
            QStringList keys = expected.keys() + held.keys();
            keys.removeDuplicates();
            for (const QString &key : keys)
                if (expected.value(key) != held.value(key)) {
                    ++mismatches;
                    details << QStringLiteral("%1 %2: expected %3, held %4")
                                   .arg(pair == &base ? QStringLiteral("base") : QStringLiteral("shop"), key)
                                   .arg(expected.value(key))
                                   .arg(held.value(key));
                }
        }
        // The stock journal explains every quantity, and each of its rows the quantity after it: the
        // clerks' rows of one stock row follow one another in the order they were written.
        QMap<QString, double> journal;
        QStringList unexplained;
        for (const QString &row : sqlRows(admin.get(), QStringLiteral("SELECT IFNULL(IdMagazuny, 'base'), IdTovary, Kilkist, Zalyshok "
                                                                      "FROM ruhtovariv ORDER BY Id"))) {
            const QString key = row.section(u'|', 0, 0) + u'/' + row.section(u'|', 1, 1);
            journal[key] += row.section(u'|', 2, 2).toDouble();
            if (journal[key] != row.section(u'|', 3, 3).toDouble())
                unexplained << QStringLiteral("journal row %1 after %2").arg(row).arg(journal[key]);
        }
        for (auto it = baseHeld.cbegin(); it != baseHeld.cend(); ++it)
            if (journal.value(QStringLiteral("base/") + it.key()) != it.value())
                unexplained << QStringLiteral("base %1: held %2, journal %3").arg(it.key()).arg(it.value()).arg(journal.value(QStringLiteral("base/") + it.key()));
        for (auto it = shopHeld.cbegin(); it != shopHeld.cend(); ++it)
            if (journal.value(it.key()) != it.value())
                unexplained << QStringLiteral("shop %1: held %2, journal %3").arg(it.key()).arg(it.value()).arg(journal.value(it.key()));
        QVERIFY2(unexplained.isEmpty(), qPrintable(unexplained.join(u'\n')));

        const QStringList doubledBase =
            sqlRows(admin.get(), QStringLiteral("SELECT IdTovary FROM baza GROUP BY IdTovary HAVING COUNT(*) > 1"));
        const QStringList doubledShop = sqlRows(
            admin.get(), QStringLiteral("SELECT IdMagazuny, IdTovary FROM nayavnistvmagazuni GROUP BY IdMagazuny, IdTovary HAVING COUNT(*) > 1"));
        const QStringList negative = sqlRows(admin.get(), QStringLiteral("SELECT IdTovary FROM baza WHERE KilkistNaBazi < 0"));

        qInfo("clerks: %d; commands: %d (posted %lld, moved %lld, refused for want of stock %d, reported as errors %d); "
              "setup errors: %d; deadlocks the server broke (each re-run): %d; stock mismatches: %d",
              Clerks, commands, qlonglong(postedOk.size()), qlonglong(movedOk.size()), refused, reported, setupErrors,
              deadlocks() - deadlocksBefore, mismatches);
        for (const QString &text : reportedTexts)
            qInfo("reported: %s", qPrintable(text));
        QVERIFY2(mismatches == 0, qPrintable(details.join(u'\n')));
        QCOMPARE(doubledBase, QStringList());
        QCOMPARE(doubledShop, QStringList());
        QCOMPARE(negative, QStringList());
        QVERIFY2(!postedOk.isEmpty() && !movedOk.isEmpty(), "the clerks did no work to check");
    }
};

QTEST_GUILESS_MAIN(TestConcurrent)
#include "test_concurrent.moc"
