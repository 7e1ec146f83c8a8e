// One clerk of the concurrent run: a headless process with the program's own receipts and
// distribution screens on one connection to the shared server that its data-source file names.
// Each round it records a receipt of the shared goods and posts it with "Оприбуткувати", then
// records a distribution to one of the shared shops and moves it with "Списати з складу". Every
// command's outcome goes to standard output, one line each:
//   post <receipt id> ok | post <receipt id> error <text>
//   move <distribution id> ok | refused | error <text>
//   setup error <text>           (recording a document failed; nothing was posted or moved)
//   cutoff post|move <id>        (after its error line: the connection went at COMMIT, so whether
//                                 the command took effect is not known to the clerk)
//   aftercommit post|move <id>   (after its error line: the error came after COMMIT was answered,
//                                 so the command took effect)
//   node <name>                  (at each connection, on a cluster node: the node it reached)
//   reruns <count>               (at the end: whole commands run again after a deadlock or a
//                                 cluster's certification conflict)
// It begins once the start file exists, so that all clerks begin together, and stops after the
// given number of rounds or when its time is up, whichever comes first.
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

    // What became of each command's transaction, from the statements it sends: a re-run starts it
    // again; a COMMIT followed by any statement but ROLLBACK was answered, so the command took effect;
    // a connection lost with COMMIT the last statement sent leaves the outcome unknown.
    QString lastStatement;
    int starts = 0, reruns = 0;
    bool committed = false;
    db.setStatementObserver([&](const QString &statement) {
        if (lastStatement == u"COMMIT" && statement != u"ROLLBACK")
            committed = true;
        if (statement == u"START TRANSACTION") {
            ++starts;
            committed = false;
        }
        lastStatement = statement;
    });
    const auto beginRun = [&] {
        starts = 0;
        committed = false;
        lastStatement.clear();
    };
    const auto reportRun = [&](const char *command, qulonglong id, bool failed) {
        reruns += std::max(0, starts - 1);
        if (failed && committed)
            say(QStringLiteral("aftercommit %1 %2").arg(QLatin1String(command)).arg(id));
        else if (failed && lastStatement == u"COMMIT" && !db.connected())
            say(QStringLiteral("cutoff %1 %2").arg(QLatin1String(command)).arg(id));
    };
    QObject::connect(&db, &Database::connectedChanged, &db, [&db](bool connected) {
        if (!connected)
            return;
        try {
            MysqlResult result = db.select(QStringLiteral("SELECT IF(@@wsrep_on, @@wsrep_node_name, '')"));
            const QString node = QString::fromUtf8(mysql_fetch_row(result.get())[0]);
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

    for (int round = 0; round < rounds && !deadline.hasExpired(); ++round) {
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
        const QString postError = errorText();
        say(QStringLiteral("post %1 ").arg(receipt) + (postError.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error ") + postError));
        reportRun("post", receipt, !postError.isEmpty());

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
        const QString moveError = errorText();
        if (!moveError.isEmpty())
            say(QStringLiteral("move %1 error ").arg(moved) + moveError);
        else if (shown(QStringLiteral("Даний товар переміщений в магазин")))
            say(QStringLiteral("move %1 ok").arg(moved));
        else if (shown(QStringLiteral("На складі немає такої кількості товару")))
            say(QStringLiteral("move %1 refused").arg(moved));
        else
            say(QStringLiteral("move %1 unreported").arg(moved));
        reportRun("move", moved, !moveError.isEmpty());
    }
    say(QStringLiteral("reruns %1").arg(reruns));
    return 0;
}
