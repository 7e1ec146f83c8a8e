// What the stock journal costs: posting a receipt and moving a distribution of many lines through
// their screens with the journal, beside the same on a database without it (the table dropped, as
// on a shared server not yet upgraded); and opening "Рух товару" for a goods with as many
// movements, beside reopening the base stock screen's grid of as many rows. Each figure is the
// median of a few runs, with and without alternating; since a busy machine makes runs differ more
// than the journal does, the journal's own statements are also timed within each run. Run:
//   QT_QPA_PLATFORM=offscreen build/release/bench/bench_journal [lines] [runs]
// It starts a private server (with the program's own settings) in a temporary directory.
#include "data/database.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "widgets/application.h"
#include "widgets/dbgrid.h"
#include "widgets/messages.h"
#include "widgets/screen.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace coop;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;

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
    setMessageFunction([](const MessageRequest &) { return int(mrYes); });
    setShowModalFunction([](QDialog &dialog) {
        dialog.show();
        return int(mrNone);
    });

    Database db;
    ConnectTarget admin;
    admin.socket = server.socketPath();
    admin.user = QStringLiteral("root");
    admin.password = QString::fromLatin1(InternalServer::RootPassword);
    admin.database = QString::fromLatin1(InternalServer::DatabaseName);
    admin.multiStatements = true;
    MysqlHandle adminHandle = connectMysql(admin);
    // A journal that has been kept for a while already (200,000 rows of other goods), or put aside
    // as if the database had never had one.
    runScript(adminHandle.get(),
              "INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok, Komanda) "
              "SELECT NOW(6) - INTERVAL seq MINUTE, 'root', 'надходження', 1000 + seq DIV 20, 1 + seq % 5000, NULL, 1, 1, "
              "UUID() FROM seq_1_to_200000",
              QStringLiteral("journal"));
    bool journalOn = true;
    const auto withJournal = [&](bool on) {
        if (on != journalOn)
            runScript(adminHandle.get(), on ? "RENAME TABLE ruhtovariv_aside TO ruhtovariv" : "RENAME TABLE ruhtovariv TO ruhtovariv_aside",
                      QStringLiteral("journal"));
        journalOn = on;
    };

    // Goods 100001.., half of them held at the base; a receipt of every goods; a distribution of
    // every goods to shop 1, which holds half of them already.
    const auto setUp = [&] {
        for (const char *table : {"baza", "chonadishlo", "nadhodgennya", "pozuciirozpodily", "rozpodil", "nayavnistvmagazuni"})
            db.execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        db.execute(QStringLiteral("DELETE FROM tovary WHERE Id > 100000"));
        db.execute(QStringLiteral("INSERT INTO tovary (Id, NazvaTovary) SELECT 100000 + seq, CONCAT('Товар ', seq) FROM seq_1_to_%1").arg(lines));
        db.execute(QStringLiteral("INSERT INTO baza (IdTovary, KilkistNaBazi) SELECT 100000 + seq, 50 FROM seq_1_to_%1 WHERE seq % 2 = 0").arg(lines));
        db.execute(QStringLiteral("INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya) VALUES (1, 1, 1, '2011-05-12')"));
        db.execute(QStringLiteral("INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina) SELECT 100000 + seq, 1, 10, 2.5 FROM seq_1_to_%1").arg(lines));
        db.execute(QStringLiteral("INSERT INTO rozpodil (Id, IdMagazuny, IdSpivrobitnuka, DataRozpodily) VALUES (1, 1, 1, '2011-05-13')"));
        db.execute(QStringLiteral("INSERT INTO pozuciirozpodily (IdRozpodily, IdTovary, Kilkist, CinaPostachannya) "
                                  "SELECT 1, 100000 + seq, 4, 2.5 FROM seq_1_to_%1").arg(lines));
        db.execute(QStringLiteral("INSERT INTO nayavnistvmagazuni (IdMagazuny, IdTovary, Kilkist, CinaOblikova, CinaRozdribna) "
                                  "SELECT 1, 100000 + seq, 1, 2, 2.5 FROM seq_1_to_%1 WHERE seq % 3 = 0").arg(lines));
    };

    TForm12 stock(db);
    TForm13 shopStock(db);
    TForm7 receipts(db);
    TForm11 distribution(db);
    for (Screen *screen : std::initializer_list<Screen *>{&stock, &shopStock, &receipts, &distribution})
        screen->create();
    receipts.reach(stock, nullptr);
    distribution.reach(stock, shopStock, nullptr);

    // The time the journal's own statements take within a command, from the statements sent: its
    // two questions before the transaction, and its reads and rows after the command's statements
    // up to COMMIT. The machine's load varies from run to run; this share of one run does not.
    QElapsedTimer clock;
    clock.start();
    qint64 journalNs = 0, markNs = 0;
    bool inJournal = false;
    db.setStatementObserver([&](const QString &statement) {
        const qint64 now = clock.nsecsElapsed();
        if (inJournal)
            journalNs += now - markNs;
        inJournal = statement.contains(QLatin1String("ruhtovariv")) || statement.startsWith(QLatin1String("SELECT IdTovary, "));
        markNs = now;
    });
    QElapsedTimer timer;
    std::vector<double> posting[2], moving[2], postingJournal, movingJournal;
    for (int run = 0; run < runs; ++run) {
        // Which goes first alternates, so that neither always finds the server busier.
        for (const bool journal : {run % 2 == 0, run % 2 != 0}) {
            withJournal(journal);
            setUp();
            QThread::sleep(2); // the server's background work after the set-up done before timing
            receipts.Query1->close();
            receipts.Query1->open();
            receipts.Query1->locate(QStringLiteral("Id"), 1);
            journalNs = 0;
            timer.start();
            receipts.BitBtn13Click();
            posting[journal].push_back(timer.nsecsElapsed() / 1e6);
            if (journal)
                postingJournal.push_back(journalNs / 1e6);

            // The posting left the base holding every goods: the transfer is covered.
            distribution.Query1->close();
            distribution.Query1->open();
            distribution.Query1->locate(QStringLiteral("Id"), 1);
            journalNs = 0;
            timer.restart();
            distribution.BitBtn13Click();
            moving[journal].push_back(timer.nsecsElapsed() / 1e6);
            if (journal)
                movingJournal.push_back(journalNs / 1e6);
        }
    }
    const qlonglong journalRows = [&] {
        withJournal(true);
        setUp();
        const auto count = [&] {
            MysqlResult result = db.select(QStringLiteral("SELECT COUNT(*) FROM ruhtovariv"));
            return QByteArray(mysql_fetch_row(result.get())[0]).toLongLong();
        };
        const qlonglong before = count();
        receipts.Query1->close();
        receipts.Query1->open();
        receipts.Query1->locate(QStringLiteral("Id"), 1);
        receipts.BitBtn13Click();
        return count() - before;
    }();

    // A goods with `lines` movements, receipts and distributions by turns; the base stock screen
    // with `lines` rows as the baseline.
    db.execute(QStringLiteral("INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, "
                              "Kilkist, Zalyshok, Komanda) SELECT NOW(6) + INTERVAL seq SECOND, 'root', "
                              "IF(seq % 2 = 0, 'надходження', 'розподіл'), 1, 100001, NULL, IF(seq % 2 = 0, 10, -5), seq, UUID() "
                              "FROM seq_1_to_%1").arg(lines));
    db.setStatementObserver({});
    std::vector<double> history, baseline;
    for (int run = 0; run < runs; ++run) {
        timer.restart();
        stock.Query1->close();
        stock.Query1->open();
        stock.findChild<DBGrid *>(QStringLiteral("DBGrid1"))->repaint();
        baseline.push_back(timer.nsecsElapsed() / 1e6);

        stock.Query1->locate(QStringLiteral("idTovary"), 100001);
        timer.restart();
        stock.DBGrid1Activated();
        stock.History->findChild<DBGrid *>(QStringLiteral("DBGrid1"))->repaint();
        history.push_back(timer.nsecsElapsed() / 1e6);
        stock.History->close();
    }
    const int historyRows = stock.History->Query1->recordCount();

    const auto row = [](const QString &measure, double value, const char *unit) {
        std::printf("%-66s %10.2f %s\n", measure.toUtf8().constData(), value, unit);
    };
    std::printf("\n%-66s %10s\n", "measure (median of the runs)", "value");
    row(QStringLiteral("posting %1 lines, with the journal").arg(lines), median(posting[1]), "ms");
    row(QStringLiteral("posting %1 lines, without it").arg(lines), median(posting[0]), "ms");
    row(QStringLiteral("  with / without"), median(posting[1]) / median(posting[0]), "");
    row(QStringLiteral("  of which the journal's own statements"), median(postingJournal), "ms");
    row(QStringLiteral("  with / the same run without its journal statements"),
        median(posting[1]) / (median(posting[1]) - median(postingJournal)), "");
    row(QStringLiteral("transfer of %1 lines, with the journal").arg(lines), median(moving[1]), "ms");
    row(QStringLiteral("transfer of %1 lines, without it").arg(lines), median(moving[0]), "ms");
    row(QStringLiteral("  with / without"), median(moving[1]) / median(moving[0]), "");
    row(QStringLiteral("  of which the journal's own statements"), median(movingJournal), "ms");
    row(QStringLiteral("  with / the same run without its journal statements"),
        median(moving[1]) / (median(moving[1]) - median(movingJournal)), "");
    row(QStringLiteral("\"Рух товару\" opened for %1 movements").arg(historyRows), median(history), "ms");
    row(QStringLiteral("base stock grid of %1 rows reopened (baseline)").arg(stock.Query1->recordCount()), median(baseline), "ms");
    row(QStringLiteral("  history / baseline"), median(history) / median(baseline), "");
    std::printf("%-66s %10lld\n", "journal rows of one posting", journalRows);
    return 0;
}
