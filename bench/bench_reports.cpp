// Laying out and writing a long receipt invoice: every page of a document of 10,000 lines (aim:
// under a second to lay out), then the PDF of it. Run:
//   build/release/bench/bench_reports [lines] [kept.pdf]
// It starts a private server in a temporary directory and removes it afterwards; the PDF is kept
// only when a path is given.
#include "data/database.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"
#include "movement/form7.h"
#include "reports/quickreport17.h"
#include "reports/reportbuilder.h"
#include "reports/reportpainter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

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
    QApplication app(argc, argv); // fonts for measuring and for the PDF
    const int lineCount = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QString keptPdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

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
    // One receipt of the system's own tables, with as many lines as asked for.
    runScript(raw.get(), QStringLiteral(
        "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (900001, 'ТОВ «Зоря»');"
        "INSERT INTO spivrobitnuku (Id, PIB) VALUES (900001, 'Коваль Петро Іванович');"
        "INSERT INTO nadhodgennya (Id, IdPostachalnuka, IdSpivrobitnuka, DataNadhodgenya)"
        " VALUES (900001, 900001, 900001, '2011-05-12');"
        "INSERT INTO tovary (Id, NazvaTovary) SELECT 900000 + seq, CONCAT('Товар номер ', seq) FROM seq_1_to_%1;"
        "INSERT INTO chonadishlo (IdTovary, IdNadhodgennya, Kilkist, Cina)"
        " SELECT 900000 + seq, 900001, seq % 17 + 1, (seq % 250) / 4 FROM seq_1_to_%1").arg(lineCount).toUtf8(),
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
    db.setParams({QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=190400"), QStringLiteral("PASSWORD=5839")});
    // The receipts screen reads the receipt and its lines with its own queries, the receipt chosen
    // as the clerk chooses it; the invoice reads them as the program binds it.
    TForm7 receipts(db);
    receipts.create();
    receipts.Query1->locate(QStringLiteral("id"), 900001);
    const TQuickReport17 invoice(*receipts.Query1, *receipts.Query3);
    const ReportLayout &layout = invoice.layout();

    ReportDocument document;
    const double buildMs = bestOf(3, [&] { document = BuildReport(layout); });
    std::printf("%d lines: %zu pages laid out in %.1f ms\n", lineCount, document.pages.size(), buildMs);

    const QString pdf = keptPdf.isEmpty() ? home.filePath(QStringLiteral("bench.pdf")) : keptPdf;
    const double pdfMs = bestOf(1, [&] { WriteReportPdf(document, pdf); });
    std::printf("PDF written in %.1f ms (%lld bytes)%s\n", pdfMs, QFile(pdf).size(),
                keptPdf.isEmpty() ? "" : qPrintable(QStringLiteral(" to ") + pdf));
    return 0;
}
