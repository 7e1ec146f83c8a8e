// Laying out and writing a long invoice: every page of a document of 10,000 lines (aim: under a
// second to lay out), then the PDF of it. Run:
//   build/release/bench/bench_reports [lines] [kept.pdf]
// It starts a private server in a temporary directory and removes it afterwards; the PDF is kept
// only when a path is given.
#include "data/database.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"
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

ReportLayout invoice(const Query &header, Query &lines)
{
    const ReportFont heading{.family = QStringLiteral("Arial Narrow"), .points = 16, .bold = true, .colour = Navy};
    const ReportFont date{.points = 12, .bold = true, .colour = Navy};
    const ReportFont bold{.points = 11, .bold = true};
    struct Column { double left, width; QString heading; };
    const std::vector<Column> columns = {{4.2, 53.2, QStringLiteral("Товар")},
                                         {57.4, 38.4, QStringLiteral("Кількість")},
                                         {95.8, 32.0, QStringLiteral("Ціна, грн.")},
                                         {127.8, 27.8, QStringLiteral("Сума, грн.")},
                                         {155.6, 32.0, QStringLiteral("Сума з ПДВ, грн.")}};
    auto centre = [&](int i) { return columns[size_t(i)].left + columns[size_t(i)].width / 2; };

    ReportLayout layout{.name = QStringLiteral("Прибуткова накладна"), .detailQuery = &lines};
    layout.title = {48,
                    {Label(6.3, 5.8, QStringLiteral("Підприємство:")),
                     Label(31.8, 5.8, QStringLiteral("Мироланське споживче товариство")),
                     Label(110.1, 5.8, QStringLiteral("Код ЄДРПОУ:")),
                     Label(135.5, 5.8, QStringLiteral("24681357")),
                     Label(20, 16, QStringLiteral("Прибуткова накладна №________________"), heading),
                     Label(131.8, 17, QStringLiteral("від:"), date),
                     SystemDate(141.8, 17.2, date),
                     Label(6.6, 27, QStringLiteral("Виконавець:"), bold),
                     DataText(40.2, 27.5, &header, QStringLiteral("Postachalnuk"), {.points = 11}),
                     Label(6.3, 34, QStringLiteral("Постачання від:"), bold),
                     DataText(40.2, 34, &header, QStringLiteral("DataPostachannya"), {.points = 11})}};
    for (size_t i = 0; i < columns.size(); ++i)
        layout.title.elements.push_back(Rectangle(columns[i].left, 41.4, columns[i].width, 6.6, Silver));
    for (size_t i = 0; i < columns.size(); ++i)
        layout.title.elements.push_back(
            OnFill(CentredLabel(centre(int(i)), 42.2, columns[i].heading, {.bold = true}), Silver));

    layout.detail.height = 6.3;
    for (const Column &column : columns)
        layout.detail.elements.push_back(Rectangle(column.left, 0, column.width, 6.6));
    layout.detail.elements.insert(layout.detail.elements.end(),
                                  {DataText(6.3, 0.8, nullptr, QStringLiteral("Nazva")),
                                   Centred(DataText(centre(1), 0.8, nullptr, QStringLiteral("Kilkist"))),
                                   Centred(DataText(centre(2), 0.8, nullptr, QStringLiteral("Cina"))),
                                   Centred(Expression(centre(3), 0.8, QStringLiteral("Kilkist * Cina"))),
                                   Centred(Expression(centre(4), 1.1, QStringLiteral("Kilkist * Cina * 1.2")))});

    layout.summary = {34,
                      {Rectangle(4.2, 0, 183.4, 0.3),
                       Label(95.2, 2.1, QStringLiteral("Загальна кількість:")),
                       Expression(139.7, 2.1, QStringLiteral("SUM(Kilkist)")),
                       Label(95.2, 8.5, QStringLiteral("Найменувань:")),
                       Expression(139.7, 8.5, QStringLiteral("COUNT")),
                       Label(21.2, 25.4, QStringLiteral("Доставив: ____________________")),
                       Label(95.2, 25.4, QStringLiteral("Отримав: ________________________"))}};
    return layout;
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
    runScript(raw.get(), QStringLiteral(
        "DROP TABLE IF EXISTS bench_header, bench_lines;"
        "CREATE TABLE bench_header (Postachalnuk VARCHAR(60), DataPostachannya DATE);"
        "INSERT INTO bench_header VALUES ('ТОВ «Зоря»', '2011-05-12');"
        "CREATE TABLE bench_lines (Id INT PRIMARY KEY, Nazva VARCHAR(60), Kilkist DOUBLE, Cina DOUBLE);"
        "INSERT INTO bench_lines SELECT seq, CONCAT('Товар номер ', seq), seq % 17 + 1, (seq % 250) / 4 "
        "FROM seq_1_to_%1").arg(lineCount).toUtf8(), QStringLiteral("fill"));

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
    Query header(db);
    header.sql().add(QStringLiteral("Select * From bench_header"));
    Query lines(db);
    lines.sql().add(QStringLiteral("Select * From bench_lines Order By Id"));
    header.open();
    lines.open();
    const ReportLayout layout = invoice(header, lines);

    ReportDocument document;
    const double buildMs = bestOf(3, [&] { document = BuildReport(layout); });
    std::printf("%d lines: %zu pages laid out in %.1f ms\n", lineCount, document.pages.size(), buildMs);

    const QString pdf = keptPdf.isEmpty() ? home.filePath(QStringLiteral("bench.pdf")) : keptPdf;
    const double pdfMs = bestOf(1, [&] { WriteReportPdf(document, pdf); });
    std::printf("PDF written in %.1f ms (%lld bytes)%s\n", pdfMs, QFile(pdf).size(),
                keptPdf.isEmpty() ? "" : qPrintable(QStringLiteral(" to ") + pdf));
    return 0;
}
