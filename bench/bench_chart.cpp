// The revenue chart of a shop with 10,000 entries: reopening the revenue screen's entries (the
// chart refills), then showing and painting the chart window, beside the raw fetch of the same
// rows by the client library (the baseline). Aim: the chart under 0.5 s. Run:
//   build/release/bench/bench_chart [entries] [kept.png]
// It starts a private server in a temporary directory and removes it afterwards; the chart's
// picture is kept only when a path is given.
#include "data/database.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"
#include "revenue/form16.h"
#include "revenue/form22.h"
#include "widgets/application.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace coop;

namespace {

template<typename F>
double bestOf(int runs, F &&work)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString keptPng = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    QTemporaryDir home(QStringLiteral("/tmp/coop-bench-XXXXXX"));
    InternalServer server({home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("run"))},
                          {QStringLiteral("innodb-flush-log-at-trx-commit=0")});
    std::printf("starting a private server...\n");
    server.ensureRunning();

    ConnectTarget target;
    target.socket = server.socketPath();
    target.user = QStringLiteral("root");
    target.password = QString::fromLatin1(InternalServer::RootPassword);
    target.database = QString::fromLatin1(InternalServer::DatabaseName);
    target.multiStatements = true;
    MysqlHandle raw = connectMysql(target);
    // One shop whose entries span some years, several a day, as a busy shop's are.
    runScript(raw.get(), QStringLiteral(
        "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (900001, 'Колос');"
        "INSERT INTO spivrobitnuku (Id, PIB) VALUES (900001, 'Коваль Петро Іванович');"
        "INSERT INTO vurychka (IdMagazuny, IdSpivrobitnuka, Syma, Data)"
        " SELECT 900001, 900001, 1000 + (seq * 7919) % 9000 + (seq % 100) / 100, '2020-01-01' + INTERVAL (seq DIV 4) DAY"
        " FROM seq_1_to_%1").arg(entries).toUtf8(),
        QStringLiteral("fill"));

    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    {
        const QString dir = config.path() + u'/' + programName();
        QDir().mkpath(dir);
        QFile ini(dir + QStringLiteral("/datasources.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[MyDB3]\nSocket=%1\n").arg(server.socketPath()).toUtf8());
    }
    Database db;
    db.setParams({QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=190400"),
                  QStringLiteral("PASSWORD=") + QString::fromLatin1(InternalServer::RootPassword)});

    TForm16 revenue(db);
    revenue.create();
    TForm22 chart(*revenue.Query3);
    chart.create();
    if (!revenue.Query1->locate(QStringLiteral("Id"), 900001) || revenue.Query3->recordCount() != entries) {
        std::fprintf(stderr, "the shop's entries did not load\n");
        return 1;
    }

    // The baseline: the same statement through the client library, every row fetched.
    const QByteArray statement = revenue.Query3->sql().text().toUtf8();
    const double fetchMs = bestOf(5, [&] {
        MYSQL_RES *result = nullptr;
        if (mysql_real_query(raw.get(), statement.constData(), statement.size()) == 0)
            result = mysql_store_result(raw.get());
        long rows = 0;
        while (result && mysql_fetch_row(result))
            ++rows;
        if (result)
            mysql_free_result(result);
        if (rows != entries)
            std::fprintf(stderr, "raw fetch gave %ld rows\n", rows);
    });

    double reopenMs = 1e300, showMs = 1e300;
    QPixmap picture;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        revenue.Query3->close();
        revenue.Query3->open(); // the chart refills on the opening
        reopenMs = std::min(reopenMs, timer.nsecsElapsed() / 1e6);
        timer.restart();
        chart.show();
        picture = chart.grab(); // lays the chart out and paints every point, mark and date
        showMs = std::min(showMs, timer.nsecsElapsed() / 1e6);
        chart.hide();
    }
    if (chart.Series1->count() != entries || chart.Marks->marks().size() != entries)
        std::fprintf(stderr, "the chart holds %lld points\n", qlonglong(chart.Series1->count()));

    std::printf("%d entries of one shop:\n", entries);
    std::printf("  raw fetch of the rows                 %8.1f ms  (baseline)\n", fetchMs);
    std::printf("  reopen the entries, chart refilled    %8.1f ms  (%.1fx)\n", reopenMs, reopenMs / fetchMs);
    std::printf("  show and paint the chart              %8.1f ms  (%.1fx)\n", showMs, showMs / fetchMs);
    std::printf("  the chart, all of it                  %8.1f ms  (%.1fx; aim: under 500 ms)\n", reopenMs + showMs,
                (reopenMs + showMs) / fetchMs);
    if (!keptPng.isEmpty())
        picture.save(keptPng);
    return 0;
}
