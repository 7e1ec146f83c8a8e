// Posting a receipt of many lines to the base warehouse through the receipts screen (one
// transaction), beside the same statements sent one by one without a transaction. Run:
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_posting [lines]
// It starts a private server (with the program's own settings) in a temporary directory.
#include "data/database.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"
#include "movement/form7.h"
#include "stock/form12.h"
#include "widgets/application.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace coop;

int main(int argc, char **argv)
{
    Application app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;

    QTemporaryDir home(QStringLiteral("/tmp/coop-bench-XXXXXX"));
    InternalServer server({home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("run"))});
    std::printf("starting a private server...\n");
    server.ensureRunning();
    {
        const QString dir = home.filePath(QStringLiteral("config/")) + programName();
        QDir().mkpath(dir);
        QFile ini(dir + QStringLiteral("/datasources.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[MyDB3]\nSocket=%1\nPassword=5839\n").arg(server.socketPath()).toUtf8());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    }

    Database db;
    // A receipt of `lines` lines of distinct goods, half of them already in the base.
    const auto setUp = [&] {
        db.execute(QStringLiteral("DELETE FROM baza"));
        db.execute(QStringLiteral("DELETE FROM chonadishlo"));
        db.execute(QStringLiteral("DELETE FROM nadhodgennya"));
        db.execute(QStringLiteral("DELETE FROM tovary WHERE Id >= 100000"));
        db.execute(QStringLiteral("INSERT INTO tovary (Id, NazvaTovary) SELECT 100000 + seq, CONCAT('Товар ', seq) FROM seq_1_to_%1").arg(lines));
        db.execute(QStringLiteral("INSERT INTO baza (IdTovary, KilkistNaBazi) SELECT 100000 + seq, 5 FROM seq_1_to_%1 WHERE seq % 2 = 0").arg(lines));
        db.execute(QStringLiteral("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES (1, 1, 1, '2011-05-12')"));
        db.execute(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) SELECT 100000 + seq, 1, 10, 2.5 FROM seq_1_to_%1").arg(lines));
    };

    // The receipts screen's posting: count, then insert or update, for every line, in one transaction.
    setUp();
    TForm7 receipts(db);
    TForm12 stock(db);
    receipts.create();
    stock.create();
    receipts.reach(stock, nullptr);
    receipts.Query1->locate(QStringLiteral("Id"), 1);
    QElapsedTimer timer;
    timer.start();
    receipts.BitBtn13Click();
    const double postingMs = timer.nsecsElapsed() / 1e6;
    const QString posted = [&] {
        Query q(db);
        q.sql().add(QStringLiteral("select sum(KilkistNaBazi) as total from baza"));
        q.open();
        return q.fieldByName(QStringLiteral("total"))->asString();
    }();

    // The same statements, each standing alone (autocommit).
    setUp();
    Query runner(db), linesQuery(db);
    linesQuery.sql().add(QStringLiteral("select IdTovary, Kilkist from chonadishlo"));
    linesQuery.open();
    timer.restart();
    for (int row = 0; row < linesQuery.recordCount(); ++row) {
        const QString goods = linesQuery.displayText(row, linesQuery.field(0));
        const QString quantity = linesQuery.displayText(row, linesQuery.field(1));
        runner.sql().setLines({QStringLiteral("Select (count(`Id`)) as 'cnt' from `baza`"),
                               QStringLiteral("where (`IdTovary`=") + goods + QStringLiteral(");")});
        runner.open();
        const bool present = runner.fieldByName(QStringLiteral("cnt"))->asInteger() > 0;
        runner.sql().setLines({present ? QStringLiteral("Update baza SET KilkistNaBazi=KilkistNaBazi+('") + quantity
                                             + QStringLiteral("') where IdTovary=") + goods
                                       : QStringLiteral("insert into `baza` values (NULL,") + goods + u',' + quantity + QStringLiteral(");")});
        runner.execSql();
    }
    const double aloneMs = timer.nsecsElapsed() / 1e6;

    std::printf("\n%-58s %10s\n", "measure", "value");
    std::printf("%-58s %10.0f ms\n", QStringLiteral("posting %1 lines (screen, one transaction)").arg(lines).toUtf8().constData(), postingMs);
    std::printf("%-58s %10.0f ms\n", "the same statements standing alone (autocommit)", aloneMs);
    std::printf("%-58s %10.2f\n", "posting / standing alone", postingMs / aloneMs);
    std::printf("%-58s %10s\n", "base stock after posting (sum)", posted.toUtf8().constData());
    return 0;
}
