// One clerk of the concurrent run: a headless process with the program's own receipts and
// distribution screens on one connection to the shared server that its data-source file names.
// Each round it records a receipt of the shared goods and posts it with "Оприбуткувати", then
// records a distribution to one of the shared shops and moves it with "Списати з складу". Every
// command's outcome, as the clerk was told it, goes to standard output, one line each:
//   post <receipt id> ok | post <receipt id> error <text>
//   move <distribution id> ok | refused | error <text>
//   post|move <id> done <text>     (a message said that the command took effect after all)
//   post|move <id> notdone <text>  (an error said that the command did not take effect)
//   post|move <id> unknown <text>  (an error said that whether it took effect is not known)
//   setup error <text>             (recording a document failed; nothing was posted or moved)
//   node <name>                    (at each connection, on a cluster node: the node it reached)
//   killed <node> <when>           (this clerk killed its node at a COMMIT, see below)
//   cutoff post|move <id> <node>   (after its outcome: the command whose COMMIT that was, and the
//                                   node the clerk was on afterwards)
//   reruns <count>                 (at the end: whole commands run again after a deadlock or a
//                                   cluster's certification conflict)
// It begins once the start file exists, so that all clerks begin together, and stops after the
// given number of rounds, when its time is up or when the file COOP_CLERK_STOP names exists,
// whichever comes first.
//
// On a cluster (COOP_CLUSTER_DIR) the test may ask for a node to die at a COMMIT: when the file
// COOP_CLERK_KILL names holds "<node> before" or "<node> after", the first clerk on that node to send
// a COMMIT takes the file and kills the node with SIGKILL, before the COMMIT reaches it or once the
// COMMIT is durable on the cluster (the node dies before its answer leaves it).
//   reliability_clerk <clerk number 0..> <rounds> <seconds> <start file>
#include "support/controls.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/query.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "widgets/application.h"
#include "widgets/messages.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <QPushButton>

#include <algorithm>
#include <csignal>
#include <cstdio>

using namespace coop;

namespace {

// The goods and shops every clerk works on, as the concurrent test creates them.
constexpr int Goods = 4;
constexpr int Shops = 2;

QList<MessageRequest> g_messages;

void say(const QString &line)
{
    std::fputs(qPrintable(line.simplified() + u'\n'), stdout);
    std::fflush(stdout);
}

qulonglong insertedId(Database &db, const QString &insert)
{
    db.execute(insert);
    MysqlResult result = db.select(QStringLiteral("SELECT LAST_INSERT_ID()"));
    return QByteArray(mysql_fetch_row(result.get())[0]).toULongLong();
}

QString errorText()
{
    for (const MessageRequest &request : g_messages)
        if (request.kind == MessageKind::ErrorBox)
            return request.text;
    return {};
}

bool shown(const QString &text)
{
    for (const MessageRequest &request : g_messages)
        if (request.text == text)
            return true;
    return false;
}

// What the messages said of a command whose connection went at its COMMIT or after it: "done",
// "notdone", "unknown", or nothing.
QString toldOutcome()
{
    for (const MessageRequest &request : g_messages) {
        if (request.text.contains(QStringLiteral("невідомо")))
            return QStringLiteral("unknown");
        if (request.text.contains(QStringLiteral("не виконано")))
            return QStringLiteral("notdone");
        if (request.text.contains(QStringLiteral("виконано")))
            return QStringLiteral("done");
    }
    return {};
}

// The outcome word and text of a command as the clerk was told it; success is "ok" or "refused".
QString outcomeLine(const QString &success)
{
    const QString told = toldOutcome();
    const QString error = errorText();
    if (!told.isEmpty())
        return told + u' ' + (error.isEmpty() ? g_messages.first().text : error);
    return error.isEmpty() ? success : QStringLiteral("error ") + error;
}

// Kills a cluster node's server and waits until it is gone.
void killNode(const QString &node)
{
    QFile pidFile(qEnvironmentVariable("COOP_CLUSTER_DIR") + u'/' + node + QStringLiteral("/mariadbd.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        qFatal("no pid file of %s", qPrintable(node));
    const pid_t pid = pid_t(pidFile.readAll().trimmed().toLongLong());
    if (pid <= 0 || ::kill(pid, SIGKILL) != 0)
        qFatal("cannot kill %s", qPrintable(node));
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z "))
            return;
        QThread::msleep(10);
    }
    qFatal("%s did not die", qPrintable(node));
}

} // namespace

int main(int argc, char **argv)
{
    Application application(argc, argv);
    if (argc != 5) {
        std::fputs("usage: reliability_clerk <clerk> <rounds> <seconds> <start file>\n", stderr);
        return 2;
    }
    const int clerk = QByteArray(argv[1]).toInt();
    const int rounds = QByteArray(argv[2]).toInt();
    QDeadlineTimer deadline(QByteArray(argv[3]).toInt() * 1000);

    setMessageFunction([](const MessageRequest &request) {
        g_messages.append(request);
        return int(mrOk);
    });

    Database db; // MyDB3 from the data-source file, as the program's start-up connection: user root

    // A re-run of a command starts its transaction again. A node is killed at the COMMIT of the
    // command under way when the test asks for it.
    const QString killFile = qEnvironmentVariable("COOP_CLERK_KILL"), stopFile = qEnvironmentVariable("COOP_CLERK_STOP");
    QString node; // the cluster node the connection reached
    int starts = 0, reruns = 0;
    bool killedHere = false, committing = false;
    db.setStatementObserver([&](const QString &statement) {
        if (statement == u"START TRANSACTION")
            ++starts;
        if (statement != u"COMMIT" || committing || killFile.isEmpty() || !QFile::exists(killFile))
            return;
        QFile request(killFile);
        if (!request.open(QIODevice::ReadOnly))
            return;
        const QStringList words = QString::fromUtf8(request.readAll()).split(u' ', Qt::SkipEmptyParts);
        request.close();
        if (words.size() != 2 || words[0] != node || !QFile::remove(killFile))
            return; // another node's, or another clerk took it first
        if (words[1] == u"after") {
            committing = true;
            try {
                db.execute(statement);
            } catch (const Error &) {
                // A certification conflict: the command runs again, and the node dies at a later COMMIT.
                committing = false;
                if (request.open(QIODevice::WriteOnly))
                    request.write(words.join(u' ').toUtf8());
                throw;
            }
            committing = false;
        }
        killNode(node);
        killedHere = true;
        say(QStringLiteral("killed %1 %2").arg(node, words[1]));
    });
    const auto beginRun = [&] {
        starts = 0;
        killedHere = false;
    };
    const auto reportRun = [&](const char *command, qulonglong id) {
        reruns += std::max(0, starts - 1);
        if (killedHere)
            say(QStringLiteral("cutoff %1 %2 %3").arg(QLatin1String(command)).arg(id).arg(node));
    };
    QObject::connect(&db, &Database::connectedChanged, &db, [&db, &node](bool connected) {
        if (!connected)
            return;
        try {
            MysqlResult result = db.select(QStringLiteral("SELECT IF(@@wsrep_on, @@wsrep_node_name, '')"));
            node = QString::fromUtf8(mysql_fetch_row(result.get())[0]);
            if (!node.isEmpty())
                say(QStringLiteral("node ") + node);
        } catch (const Error &) {
            // Not a server that names its node.
        }
    });

    TForm12 stock(db);
    TForm13 shopStock(db);
    TForm7 receipts(db);
    TForm11 distribution(db);
    for (Screen *screen : std::initializer_list<Screen *>{&stock, &shopStock, &receipts, &distribution})
        screen->create();
    receipts.reach(stock, nullptr);
    distribution.reach(stock, shopStock, nullptr);
    receipts.show();
    distribution.show();
    try {
        db.open();
    } catch (const Error &error) {
        say(QStringLiteral("setup error ") + error.text());
        return 1;
    }

    QDeadlineTimer start(30000);
    while (!QFile::exists(QString::fromLocal8Bit(argv[4])) && !start.hasExpired())
        QThread::msleep(5);

    for (int round = 0; round < rounds && !deadline.hasExpired() && (stopFile.isEmpty() || !QFile::exists(stopFile)); ++round) {
        // A receipt of every goods, in an order of the clerk's own so that postings cross.
        qulonglong receipt = 0;
        try {
            receipt = insertedId(db, QStringLiteral("INSERT INTO nadhodgennya (IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) "
                                                    "VALUES (1, 1, '2011-06-01')"));
            for (int n = 0; n < Goods; ++n) {
                const int goods = 1 + (clerk % 2 == 0 ? n : Goods - 1 - n);
                db.execute(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (%1, %2, %3, 2.5)")
                               .arg(goods)
                               .arg(receipt)
                               .arg(2 + (round + clerk + n) % 3));
            }
        } catch (const Error &error) {
            say(QStringLiteral("setup error ") + error.text());
            continue;
        }
        g_messages.clear();
        try {
            receipts.Query1->close();
            receipts.Query1->open();
            if (!receipts.Query1->locate(QStringLiteral("Id"), receipt))
                throw Error(QStringLiteral("receipt %1 not shown").arg(receipt));
        } catch (const Error &error) {
            say(QStringLiteral("setup error ") + error.text());
            continue;
        }
        beginRun();
        control<QPushButton>(receipts, "BitBtn13")->click();
        say(QStringLiteral("post %1 ").arg(receipt) + outcomeLine(QStringLiteral("ok")));
        reportRun("post", receipt);

        // A distribution of three of the goods to one of the shops.
        qulonglong moved = 0;
        try {
            moved = insertedId(db, QStringLiteral("INSERT INTO rozpodil (IdMagazuny, IdSpivrobitnuka, DataRozpodily) VALUES (%1, 1, '2011-06-02')")
                                       .arg(1 + (clerk + round) % Shops));
            for (int n = 0; n < 3; ++n) {
                const int goods = 1 + (clerk + round + n) % Goods;
                db.execute(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (%1, %2, %3, 2.5)")
                               .arg(moved)
                               .arg(goods)
                               .arg(2 * (1 + (round + n) % 4)));
            }
            distribution.Query1->close();
            distribution.Query1->open();
            if (!distribution.Query1->locate(QStringLiteral("Id"), moved))
                throw Error(QStringLiteral("distribution %1 not shown").arg(moved));
        } catch (const Error &error) {
            say(QStringLiteral("setup error ") + error.text());
            continue;
        }
        g_messages.clear();
        beginRun();
        control<QPushButton>(distribution, "BitBtn13")->click();
        if (shown(QStringLiteral("Даний товар переміщений в магазин")))
            say(QStringLiteral("move %1 ").arg(moved) + outcomeLine(QStringLiteral("ok")));
        else if (shown(QStringLiteral("На складі немає такої кількості товару")))
            say(QStringLiteral("move %1 ").arg(moved) + outcomeLine(QStringLiteral("refused")));
        else if (!errorText().isEmpty() || !toldOutcome().isEmpty())
            say(QStringLiteral("move %1 ").arg(moved) + outcomeLine({}));
        else
            say(QStringLiteral("move %1 unreported").arg(moved));
        reportRun("move", moved);
    }
    say(QStringLiteral("reruns %1").arg(reruns));
    return 0;
}
