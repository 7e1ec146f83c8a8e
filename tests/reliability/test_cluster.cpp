// The cooperative on a three-node Galera cluster (started by cluster-test.sh, which passes its
// directory in COOP_CLUSTER_DIR). The connection walks its list of hosts past those that refuse,
// stay silent or are not ready for work; then four clerks, each a process with the program's own
// receipts and distribution screens and the nodes listed in an order of its own, post receipts and
// move distributions of the same goods while a node is killed outright at a posting's or transfer's
// COMMIT, and later rejoins; then another node is. The clerk whose COMMIT it was goes on on another
// node and is told whether the command took effect. Afterwards, on every node: every stock quantity
// is the exact sum of what the clerks were told took effect, no goods has two base rows nor a shop
// two rows of one goods, and the rejoined nodes' tables agree with the others'.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/query.h"
#include "sqlhelpers.h"
#include "support/loopbackport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <csignal>
#include <iterator>
#include <memory>
#include <optional>

using namespace coop;
using namespace reliability;

namespace {

constexpr int Nodes = 3;
constexpr int Clerks = 4;
constexpr int ClerkSeconds = 100;   // at most: the clerks stop once the nodes have died
constexpr int KillAfterSeconds = 8; // when the first node dies
constexpr int StopAfterSeconds = 5; // the clerks work on so long after the last death
// The nodes that die, one after the other (the first having rejoined before the second dies, so
// that the cluster keeps its quorum), each at the COMMIT of a posting or transfer of a clerk on it:
// once the COMMIT is durable on the cluster and before the node answers, or before it reaches the
// node. The first is the first host of two clerks.
struct Death
{
    int node;
    const char *when;
};
constexpr Death Deaths[] = {{1, "after"}, {2, "before"}};
// Each clerk's list of the nodes: every node takes writes at once.
constexpr int Orders[Clerks][Nodes] = {{1, 2, 3}, {2, 3, 1}, {3, 1, 2}, {1, 3, 2}};

QString clerkProgram() { return QCoreApplication::applicationDirPath() + QStringLiteral("/reliability_clerk"); }

// A stock change as the clerks' documents record it: base quantity by goods, shop quantity by
// "shop/goods".
struct StockChange
{
    QMap<QString, double> base, shop;
    void add(const StockChange &other)
    {
        for (auto it = other.base.cbegin(); it != other.base.cend(); ++it)
            base[it.key()] += it.value();
        for (auto it = other.shop.cbegin(); it != other.shop.cend(); ++it)
            shop[it.key()] += it.value();
    }
};

} // namespace

class TestCluster : public QObject
{
    Q_OBJECT

    QString m_dir, m_script, m_database, m_password;
    unsigned m_port = 0;
    QDir m_config; // the clients' files, in the cluster's directory: they go with it, whatever happens

    unsigned clientPort(int node) const { return m_port + 10 * (node - 1); }
    QString host(int node) const { return QStringLiteral("127.0.0.1:%1").arg(clientPort(node)); }

    // The administrator on a node's socket; reads wait until the node has every committed write.
    MysqlHandle admin(int node, bool synced = true) const
    {
        ConnectTarget target;
        target.socket = QStringLiteral("%1/node%2/mariadbd.sock").arg(m_dir).arg(node);
        target.user = QStringLiteral("root");
        target.database = m_database;
        target.multiStatements = true;
        target.timeoutSeconds = 5;
        MysqlHandle handle = connectMysql(target);
        if (synced)
            prepareClusterSession(handle.get());
        return handle;
    }
    QString status(int node, const QString &name) const
    {
        MysqlHandle handle = admin(node, false);
        return sqlRows(handle.get(), QStringLiteral("SHOW GLOBAL STATUS LIKE '%1'").arg(name)).value(0).section(u'|', 1, 1);
    }
    bool waitForStatus(int node, const QString &name, const QString &value, int seconds) const
    {
        QDeadlineTimer deadline(seconds * 1000);
        while (!deadline.hasExpired()) {
            try {
                if (status(node, name) == value)
                    return true;
            } catch (const Error &) {
                // Starting or stopping: ask again.
            }
            QThread::msleep(200);
        }
        return false;
    }

    QString dataSource(const QStringList &hosts, const QString &extra = {}) const
    {
        return QStringLiteral("[MyDB3]\nServer=%1\nDatabase=%2\nUser=root\nPassword=%3\n%4")
            .arg(hosts.join(u','), m_database, m_password, extra);
    }
    // The data-source file of the program called program under the configuration directory dir.
    static void writeDataSource(const QString &dir, const QString &program, const QString &text)
    {
        QDir().mkpath(dir + u'/' + program);
        QFile file(dir + u'/' + program + QStringLiteral("/datasources.ini"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
            qFatal("cannot write the data source");
    }
    // This test's own Database leads to the given hosts.
    void useHosts(const QStringList &hosts)
    {
        writeDataSource(m_config.path(), QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
                        dataSource(hosts, QStringLiteral("ConnectTimeout=2\n")));
    }
    static QString ask(Database &db, const QString &select)
    {
        Query query(db);
        query.sql().add(select);
        query.open();
        return query.fieldByName(QStringLiteral("v"))->asString();
    }

private slots:
    void initTestCase()
    {
        m_dir = qEnvironmentVariable("COOP_CLUSTER_DIR");
        m_script = qEnvironmentVariable("COOP_CLUSTER_SCRIPT");
        if (m_dir.isEmpty())
            QSKIP("the cluster test runs through cluster-test.sh, which starts and stops its cluster");
        QVERIFY(QFile::exists(clerkProgram()));
        QFile env(m_dir + QStringLiteral("/cluster.env"));
        QVERIFY(env.open(QIODevice::ReadOnly));
        for (const QString &line : QString::fromUtf8(env.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u'=', 0, 0), value = line.section(u'=', 1);
            if (key == u"COOP_CLUSTER_PORT")
                m_port = value.toUInt();
            else if (key == u"COOP_DATABASE")
                m_database = value;
            else if (key == u"COOP_CLERK_PASSWORD")
                m_password = value;
            else if (key == u"COOP_CLUSTER_NODES")
                QCOMPARE(value.toInt(), Nodes);
        }
        QVERIFY(m_port && !m_database.isEmpty() && !m_password.isEmpty());
        m_config.setPath(m_dir + QStringLiteral("/clients"));
        QVERIFY(m_config.mkpath(QStringLiteral(".")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));

        MysqlHandle node1 = admin(1);
        sqlExec(node1.get(), QStringLiteral(
            "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (1, 'Зоря');"
            "INSERT INTO spivrobitnuku (Id, PIB) VALUES (1, 'Іваненко');"
            "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) VALUES (1, 'Колос', 'Центральна, 1', 1), (2, 'Ромашка', 'Садова, 3', 1);"
            "INSERT INTO tovary (Id, NazvaTovary) VALUES (1, 'Сіль'), (2, 'Цукор'), (3, 'Олія'), (4, 'Борошно')"));
    }

    // Hosts that refuse or never answer are passed over; the session reached on a node waits for
    // the cluster's writes before each read and sees what another node wrote a moment before.
    void hostsPassedOverToANode()
    {
        const LoopbackPort silent(true), refusing(false);
        useHosts({refusing.entry(), silent.entry(), host(2)});
        Database db;
        db.open();
        QCOMPARE(ask(db, QStringLiteral("SELECT @@wsrep_node_name AS v")), QStringLiteral("node2"));
        QCOMPARE(ask(db, QStringLiteral("SELECT @@session.wsrep_sync_wait & 1 AS v")), QStringLiteral("1"));
        MysqlHandle node3 = admin(3, false);
        sqlExec(node3.get(), QStringLiteral("INSERT INTO viddilu (NazvaViddily, MisceRoztash) VALUES ('Склад', 'Перевірка')"));
        QCOMPARE(ask(db, QStringLiteral("SELECT COUNT(*) AS v FROM viddilu WHERE MisceRoztash='Перевірка'")), QStringLiteral("1"));
        sqlExec(node3.get(), QStringLiteral("DELETE FROM viddilu WHERE MisceRoztash='Перевірка'"));
    }

    // A node cut off from the others answers but is not ready for work: a connection passes it
    // over, and a session on it is dropped at its refusal so that the next use goes to the next host.
    void nodeNotReadyPassedOver()
    {
        useHosts({host(3), host(1)});
        Database onNode3;
        onNode3.open();
        QCOMPARE(ask(onNode3, QStringLiteral("SELECT @@wsrep_node_name AS v")), QStringLiteral("node3"));

        MysqlHandle node3 = admin(3, false);
        sqlExec(node3.get(), QStringLiteral("SET GLOBAL wsrep_provider_options='gmcast.isolate=1'"));
        const bool cutOff = waitForStatus(3, QStringLiteral("wsrep_ready"), QStringLiteral("OFF"), 60);
        std::optional<DatabaseError> refusal;
        QString reached, passedOver;
        if (cutOff) {
            try {
                ask(onNode3, QStringLiteral("SELECT COUNT(*) AS v FROM tovary"));
            } catch (const DatabaseError &error) {
                refusal = error;
            }
            reached = onNode3.connected() ? QString() : ask(onNode3, QStringLiteral("SELECT @@wsrep_node_name AS v"));
            Database fresh;
            fresh.open();
            passedOver = ask(fresh, QStringLiteral("SELECT @@wsrep_node_name AS v"));
        }
        sqlExec(node3.get(), QStringLiteral("SET GLOBAL wsrep_provider_options='gmcast.isolate=0'"));
        QVERIFY2(waitForStatus(3, QStringLiteral("wsrep_local_state_comment"), QStringLiteral("Synced"), 60)
                     && waitForStatus(1, QStringLiteral("wsrep_cluster_size"), QString::number(Nodes), 60),
                 "node 3 did not come back into the cluster");

        QVERIFY2(cutOff, "node 3 did not leave the cluster");
        QVERIFY(refusal);
        QVERIFY2(refusal->isNodeNotReady(), qPrintable(refusal->text()));
        QCOMPARE(reached, QStringLiteral("node1"));
        QCOMPARE(passedOver, QStringLiteral("node1"));
    }

    void fourClerksWhileNodesDieAtCommit()
    {
        QElapsedTimer clock;
        clock.start();
        const QString startFile = m_config.filePath(QStringLiteral("start"));
        const QString killFile = m_config.filePath(QStringLiteral("kill")), stopFile = m_config.filePath(QStringLiteral("stop"));
        std::vector<std::unique_ptr<QProcess>> clerks;
        for (int clerk = 0; clerk < Clerks; ++clerk) {
            const QString config = m_config.filePath(QStringLiteral("clerk%1").arg(clerk));
            QStringList hosts;
            for (int node : Orders[clerk])
                hosts << host(node);
            writeDataSource(config, QStringLiteral("reliability_clerk"), dataSource(hosts));
            auto process = std::make_unique<QProcess>();
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("COOP_CLERK_KILL"), killFile);
            env.insert(QStringLiteral("COOP_CLERK_STOP"), stopFile);
            process->setProcessEnvironment(env);
            process->setStandardOutputFile(config + QStringLiteral("/out.txt"));
            process->start(clerkProgram(), {QString::number(clerk), QStringLiteral("100000"), QString::number(ClerkSeconds), startFile});
            QVERIFY(process->waitForStarted(10000));
            clerks.push_back(std::move(process));
        }
        QFile start(startFile);
        QVERIFY(start.open(QIODevice::WriteOnly));
        start.close();

        // In the middle of the work a node dies at once, as in a power cut, at a clerk's COMMIT, and
        // is started again.
        const auto writeFile = [](const QString &path, const QByteArray &text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        };
        QThread::sleep(KillAfterSeconds);
        QList<double> rejoinSeconds;
        for (const Death &death : Deaths) {
            QFile pidFile(QStringLiteral("%1/node%2/mariadbd.pid").arg(m_dir).arg(death.node));
            QVERIFY(pidFile.open(QIODevice::ReadOnly));
            const pid_t pid = pid_t(pidFile.readAll().trimmed().toLongLong());
            QVERIFY(pid > 0);
            QVERIFY(writeFile(killFile, QStringLiteral("node%1 %2").arg(death.node).arg(QLatin1String(death.when)).toUtf8()));
            QDeadlineTimer gone(30000);
            while (::kill(pid, 0) == 0 && !gone.hasExpired())
                QThread::msleep(50);
            QVERIFY2(!QFile::exists(killFile), qPrintable(QStringLiteral("no clerk on node%1 came to a COMMIT").arg(death.node)));
            QVERIFY2(::kill(pid, 0) != 0, "the node did not die");
            if (&death == &Deaths[std::size(Deaths) - 1]) {
                QThread::sleep(StopAfterSeconds);
                QVERIFY(writeFile(stopFile, {}));
            }
            QElapsedTimer rejoin;
            rejoin.start();
            QProcess restart;
            restart.setProcessChannelMode(QProcess::MergedChannels);
            restart.start(m_script, {QStringLiteral("start-node"), m_dir, QString::number(death.node)});
            QVERIFY(restart.waitForFinished(120000));
            QVERIFY2(restart.exitCode() == 0, restart.readAll().constData());
            rejoinSeconds << rejoin.elapsed() / 1000.0;
        }

        // What each clerk was told. A command took effect when it ran through ("ok") or when a
        // message said so ("done"), and did not when it was refused or an error said nothing of the
        // kind; an error saying that it is not known leaves it uncertain.
        QStringList postedOk, movedOk;
        QList<QPair<QString, QString>> unknown; // command, id
        QMap<QString, QString> outcomes;        // "post 12" -> what the clerk was told
        struct CutOff
        {
            QString command, killedNode, when, nodeAfter;
        };
        QList<CutOff> cutOffs;
        int commands = 0, reported = 0, refused = 0, setupErrors = 0, reruns = 0, failovers = 0, toldDone = 0, toldNotDone = 0;
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
            QFile out(m_config.filePath(QStringLiteral("clerk%1/out.txt").arg(clerk)));
            QVERIFY(out.open(QIODevice::ReadOnly));
            QString node;
            QStringList nodes, killed;
            for (const QString &line : QString::fromUtf8(out.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
                const QStringList words = line.split(u' ');
                if (words.value(0) == u"node") {
                    if (!node.isEmpty() && words.value(1) != node)
                        ++failovers;
                    node = words.value(1);
                    nodes << node;
                    continue;
                }
                if (words.value(0) == u"reruns") {
                    reruns += words.value(1).toInt();
                    continue;
                }
                if (words.value(0) == u"killed") {
                    killed = words.mid(1);
                    continue;
                }
                if (words.value(0) == u"cutoff") {
                    QVERIFY2(killed.size() == 2, qPrintable(line));
                    cutOffs.append({words.value(1) + u' ' + words.value(2), killed[0], killed[1], words.value(3)});
                    killed.clear();
                    continue;
                }
                if (words.value(0) == u"setup") {
                    ++setupErrors;
                    reportedTexts << line;
                    continue;
                }
                QVERIFY2(words.size() >= 3 && (words[0] == u"post" || words[0] == u"move"), qPrintable(line));
                ++commands;
                const QString outcome = words[2];
                outcomes[words[0] + u' ' + words[1]] = outcome;
                QStringList &tookEffect = words[0] == u"post" ? postedOk : movedOk;
                if (outcome == u"ok") {
                    tookEffect << words[1];
                } else if (outcome == u"refused") {
                    ++refused;
                } else if (outcome == u"done") {
                    tookEffect << words[1];
                    ++toldDone;
                    reportedTexts << line;
                } else if (outcome == u"unknown") {
                    unknown.append({words[0], words[1]});
                    reportedTexts << line;
                } else {
                    QVERIFY2(outcome == u"error" || outcome == u"notdone", qPrintable(line));
                    toldNotDone += outcome == u"notdone";
                    ++reported;
                    reportedTexts << line;
                }
            }
            QVERIFY2(!nodes.isEmpty() && nodes.first() == QStringLiteral("node%1").arg(Orders[clerk][0]), qPrintable(nodes.join(u' ')));
        }
        // Each node died at the COMMIT of a clerk on it, who went on on another node and was told
        // the truth there: the command took effect when the COMMIT was durable before the node died,
        // and did not when the COMMIT never reached it.
        QCOMPARE(cutOffs.size(), qsizetype(std::size(Deaths)));
        for (const CutOff &cut : std::as_const(cutOffs)) {
            const QString what = cut.command + u' ' + cut.killedNode + u' ' + cut.when + QStringLiteral(" -> ") + outcomes.value(cut.command);
            QVERIFY2(cut.nodeAfter != cut.killedNode && !cut.nodeAfter.isEmpty(), qPrintable(what + u' ' + cut.nodeAfter));
            // A transfer refused for want of stock changes nothing; its COMMIT may be the one cut, and
            // the clerk is told the refusal.
            QVERIFY2(outcomes.value(cut.command) == (cut.when == u"after" ? u"done" : u"notdone") || outcomes.value(cut.command) == u"refused",
                     qPrintable(what));
        }

        // Every node has applied every write before it is read.
        for (const Death &death : Deaths)
            QVERIFY(waitForStatus(death.node, QStringLiteral("wsrep_local_state_comment"), QStringLiteral("Synced"), 60));
        MysqlHandle survivor = admin(3);
        const auto changeOf = [&](const QString &command, const QStringList &ids) {
            StockChange change;
            if (ids.isEmpty())
                return change;
            if (command == u"post") {
                for (const QString &row : sqlRows(survivor.get(), QStringLiteral("SELECT IdTovary, Kilkist FROM chonadishlo WHERE IdNadhodgennya IN (%1)")
                                                                      .arg(ids.join(u','))))
                    change.base[row.section(u'|', 0, 0)] += row.section(u'|', 1, 1).toDouble();
            } else {
                for (const QString &row : sqlRows(survivor.get(), QStringLiteral("SELECT r.IdMagazuny, p.IdTovary, p.Kilkist FROM pozuciirozpodily p, rozpodil r "
                                                                                 "WHERE p.IdRozpodily = r.Id AND r.Id IN (%1)")
                                                                      .arg(ids.join(u',')))) {
                    const QString goods = row.section(u'|', 1, 1);
                    const double quantity = row.section(u'|', 2, 2).toDouble();
                    change.base[goods] -= quantity;
                    change.shop[row.section(u'|', 0, 0) + u'/' + goods] += quantity;
                }
            }
            return change;
        };
        StockChange told = changeOf(QStringLiteral("post"), postedOk);
        told.add(changeOf(QStringLiteral("move"), movedOk));
        QVERIFY2(unknown.size() <= Clerks, "more commands of unknown outcome than clerks");
        std::vector<StockChange> uncertain;
        for (const auto &[command, id] : unknown)
            uncertain.push_back(changeOf(command, {id}));

        const auto mismatchesOn = [](MYSQL *handle, const StockChange &expected, QStringList *details) {
            StockChange held;
            for (const QString &row : sqlRows(handle, QStringLiteral("SELECT IdTovary, KilkistNaBazi FROM baza")))
                held.base[row.section(u'|', 0, 0)] += row.section(u'|', 1, 1).toDouble();
            for (const QString &row : sqlRows(handle, QStringLiteral("SELECT IdMagazuny, IdTovary, Kilkist FROM nayavnistvmagazuni")))
                held.shop[row.section(u'|', 0, 0) + u'/' + row.section(u'|', 1, 1)] += row.section(u'|', 2, 2).toDouble();
            int mismatches = 0;
            for (const bool base : {true, false}) {
                const QMap<QString, double> &want = base ? expected.base : expected.shop, &have = base ? held.base : held.shop;
                QStringList keys = want.keys() + have.keys();
                keys.removeDuplicates();
                for (const QString &key : keys)
                    if (want.value(key) != have.value(key)) {
                        ++mismatches;
                        if (details)
                            *details << QStringLiteral("%1 %2: expected %3, held %4").arg(base ? QStringLiteral("base") : QStringLiteral("shop"), key).arg(want.value(key)).arg(have.value(key));
                    }
            }
            return mismatches;
        };
        // A command of unknown outcome took effect entirely or not at all: the stock must be what
        // the clerks were told plus some choice of those commands.
        StockChange expected = told;
        QStringList documents; // the journal's documents that moved stock, "надходження 12"
        for (const QString &id : std::as_const(postedOk))
            documents << QStringLiteral("надходження ") + id;
        for (const QString &id : std::as_const(movedOk))
            documents << QStringLiteral("розподіл ") + id;
        for (unsigned choice = 0; choice < (1u << uncertain.size()); ++choice) {
            StockChange candidate = told;
            for (size_t k = 0; k < uncertain.size(); ++k)
                if (choice & (1u << k))
                    candidate.add(uncertain[k]);
            if (mismatchesOn(survivor.get(), candidate, nullptr) == 0) {
                expected = candidate;
                for (size_t k = 0; k < uncertain.size(); ++k)
                    if (choice & (1u << k))
                        documents << (unknown[k].first == u"post" ? QStringLiteral("надходження ") : QStringLiteral("розподіл ")) + unknown[k].second;
                break;
            }
        }
        documents.sort();

        int mismatches = 0;
        QStringList details, doubled, negative, journalDisagrees;
        QStringList checksums[Nodes + 1];
        for (int node = 1; node <= Nodes; ++node) {
            MysqlHandle handle = admin(node);
            QStringList here;
            mismatches += mismatchesOn(handle.get(), expected, &here);
            for (const QString &line : here)
                details << QStringLiteral("node%1 ").arg(node) + line;
            for (const QString &row : sqlRows(handle.get(), QStringLiteral("SELECT IdTovary FROM baza GROUP BY IdTovary HAVING COUNT(*) > 1")))
                doubled << QStringLiteral("node%1 base goods %2").arg(node).arg(row);
            for (const QString &row : sqlRows(handle.get(), QStringLiteral("SELECT IdMagazuny, IdTovary FROM nayavnistvmagazuni "
                                                                           "GROUP BY IdMagazuny, IdTovary HAVING COUNT(*) > 1")))
                doubled << QStringLiteral("node%1 shop/goods %2").arg(node).arg(row);
            negative << sqlRows(handle.get(), QStringLiteral("SELECT IdTovary FROM baza WHERE KilkistNaBazi < 0"));
            // The journal explains every quantity, and holds the commands the clerks were told took
            // effect, each once, and no other.
            for (const QString &row : sqlRows(handle.get(), QStringLiteral(
                     "SELECT IdTovary, IdMagazuny, SUM(k) FROM (SELECT IdTovary, NULL AS IdMagazuny, KilkistNaBazi AS k FROM baza "
                     "UNION ALL SELECT IdTovary, IdMagazuny, Kilkist FROM nayavnistvmagazuni "
                     "UNION ALL SELECT IdTovary, IdMagazuny, -Kilkist FROM ruhtovariv) AS t "
                     "GROUP BY IdTovary, IdMagazuny HAVING ABS(SUM(k)) > 1e-6")))
                journalDisagrees << QStringLiteral("node%1 stock and journal differ: %2").arg(node).arg(row);
            QStringList journaled = sqlRows(handle.get(), QStringLiteral("SELECT CONCAT(VydDokumenta, ' ', IdDokumenta) FROM ruhtovariv "
                                                                         "GROUP BY VydDokumenta, IdDokumenta"));
            journaled.sort();
            if (journaled != documents)
                journalDisagrees << QStringLiteral("node%1 journal holds %2 documents, the clerks were told of %3")
                                        .arg(node).arg(journaled.size()).arg(documents.size());
            if (sqlValue(handle.get(), QStringLiteral("SELECT COUNT(*) FROM (SELECT Komanda FROM ruhtovariv GROUP BY Komanda, VydDokumenta, IdDokumenta) AS c"))
                != QString::number(documents.size()))
                journalDisagrees << QStringLiteral("node%1 journal: a document moved stock twice").arg(node);
            const QStringList tables = sqlRows(handle.get(), QStringLiteral("SHOW TABLES"));
            checksums[node] = sqlRows(handle.get(), QStringLiteral("CHECKSUM TABLE ") + tables.join(u','));
        }

        QStringList cutText, rejoinText;
        for (const CutOff &cut : std::as_const(cutOffs))
            cutText << QStringLiteral("%1 killed %2 the COMMIT of %3, told %4 on %5")
                           .arg(cut.killedNode, cut.when, cut.command, outcomes.value(cut.command), cut.nodeAfter);
        for (qsizetype k = 0; k < rejoinSeconds.size(); ++k)
            rejoinText << QStringLiteral("node%1 in %2 s").arg(Deaths[k].node).arg(rejoinSeconds[k], 0, 'f', 1);
        qInfo("nodes: %d, clerks: %d, %lld s; commands: %d (posted %lld, moved %lld, refused for want of stock %d, told took effect after a "
              "lost connection %d, reported as errors %d of which told not done %d, outcome unknown %lld); setup errors: %d; conflicts re-run: %d; "
              "failovers: %d; rejoined: %s; stock mismatches: %d; journal disagreements: %lld",
              Nodes, Clerks, qlonglong(clock.elapsed() / 1000), commands, qlonglong(postedOk.size()), qlonglong(movedOk.size()), refused,
              toldDone, reported, toldNotDone, qlonglong(unknown.size()), setupErrors, reruns, failovers, qPrintable(rejoinText.join(QStringLiteral(", "))),
              mismatches, qlonglong(journalDisagrees.size()));
        qInfo("nodes died at a COMMIT: %s", qPrintable(cutText.join(QStringLiteral("; "))));
        for (const QString &text : reportedTexts)
            qInfo("reported: %s", qPrintable(text));
        QVERIFY2(mismatches == 0, qPrintable(details.join(u'\n')));
        QVERIFY2(journalDisagrees.isEmpty(), qPrintable(journalDisagrees.join(u'\n')));
        QCOMPARE(doubled, QStringList());
        QCOMPARE(negative, QStringList());
        for (int node = 1; node <= Nodes; ++node)
            QCOMPARE(checksums[node], checksums[3]);
        QVERIFY2(failovers >= 2, "the clerks on the killed nodes did not fail over");
        QVERIFY2(!postedOk.isEmpty() && !movedOk.isEmpty(), "the clerks did no work to check");
    }
};

QTEST_GUILESS_MAIN(TestCluster)
#include "test_cluster.moc"
