// Opening a million goods-like rows: the raw client fetch against Query (open and every field read
// as text), their memory, and the client-side filter over all rows. Run:
//   build/release/bench/bench_query [rows]
// It starts a private server in a temporary directory and removes it afterwards.
#include "data/database.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"
#include "data/query.h"

#include <QCoreApplication>
#include <QDir>
#include "data/datasource.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <malloc.h>

using namespace coop;

namespace {

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

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
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000000;

    QTemporaryDir home(QStringLiteral("/tmp/coop-bench-XXXXXX"));
    InternalServer server({home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("run"))},
                          {QStringLiteral("innodb-flush-log-at-trx-commit=0"), QStringLiteral("innodb-buffer-pool-size=512M")});
    std::printf("starting a private server...\n");
    server.ensureRunning();

    ConnectTarget target;
    target.socket = server.socketPath();
    target.user = QStringLiteral("root");
    target.password = QString::fromLatin1(InternalServer::RootPassword);
    target.database = QString::fromLatin1(InternalServer::DatabaseName);
    MysqlHandle raw = connectMysql(target);
    const QByteArray fill = QStringLiteral(
        "INSERT INTO tovary (NazvaTovary, MarkaTovary) SELECT CONCAT('Товар номер ', seq), CONCAT('Марка ', seq % 1000) "
        "FROM seq_1_to_%1").arg(rows).toUtf8();
    runScript(raw.get(), "DELETE FROM tovary", QStringLiteral("clear"));
    runScript(raw.get(), fill, QStringLiteral("fill"));
    std::printf("%d rows in tovary\n", rows);
    const char *select = "Select * From tovary";

    // (a) the raw client fetch: store the result and read every value once.
    size_t rawBytes = 0;
    size_t touched = 0;
    const double rawMs = bestOf(3, [&] {
        const size_t before = heapInUse();
        mysql_real_query(raw.get(), select, std::strlen(select));
        MysqlResult result(mysql_store_result(raw.get()));
        rawBytes = heapInUse() - before;
        const unsigned columns = mysql_num_fields(result.get());
        while (MYSQL_ROW row = mysql_fetch_row(result.get()))
            for (unsigned c = 0; c < columns; ++c)
                touched += row[c] ? std::strlen(row[c]) : 0;
    });

    // (a') the same, converting every value to a QString as any display must.
    const double rawTextMs = bestOf(3, [&] {
        mysql_real_query(raw.get(), select, std::strlen(select));
        MysqlResult result(mysql_store_result(raw.get()));
        const unsigned columns = mysql_num_fields(result.get());
        while (MYSQL_ROW row = mysql_fetch_row(result.get()))
            for (unsigned c = 0; c < columns; ++c)
                touched += size_t(QString::fromUtf8(row[c]).size());
    });

    Database db;
    db.setParams({QStringLiteral("USER NAME=root"), QStringLiteral("DATABASE NAME=190400"), QStringLiteral("PASSWORD=5839")});
    // The bench has no data-source file of its own: point the alias at this server.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    {
        const QString dir = config.path() + u'/' + programName();
        QDir().mkpath(dir);
        QFile ini(dir + QStringLiteral("/datasources.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[MyDB3]\nSocket=%1\n").arg(server.socketPath()).toUtf8());
    }
    Query query(db);
    query.sql().add(QStringLiteral("Select *"));
    query.sql().add(QStringLiteral("From tovary"));
    Field *id = query.addField({QStringLiteral("Id"), FieldType::Integer, 0, QStringLiteral("Код"), 6});
    Field *name = query.addField({QStringLiteral("NazvaTovary"), FieldType::String, 40, QStringLiteral("Назва товару")});
    Field *brand = query.addField({QStringLiteral("MarkaTovary"), FieldType::String, 30, QStringLiteral("Марка товару")});
    db.setConnected(true);

    // (b) Query open and every field read as text.
    size_t queryBytes = 0;
    const double queryMs = bestOf(3, [&] {
        query.close();
        const size_t before = heapInUse();
        query.open();
        queryBytes = heapInUse() - before;
        const int count = query.recordCount();
        for (int row = 0; row < count; ++row)
            touched += size_t(query.displayText(row, id).size() + query.displayText(row, name).size()
                              + query.displayText(row, brand).size());
    });

    // (c) the client-side filter over all rows.
    int passing = 0;
    const double filterMs = bestOf(5, [&] {
        query.setFiltered(false);
        query.setFilter(QStringLiteral("MarkaTovary='Марка 7' or NazvaTovary='Товар номер 5'"));
        query.setFiltered(true);
        passing = query.recordCount();
    });
    const double numericFilterMs = bestOf(5, [&] {
        query.setFiltered(false);
        query.setFilter(QStringLiteral("Id>='250000' and Id<'750000'"));
        query.setFiltered(true);
    });

    std::printf("\n%-52s %10s\n", "measure", "value");
    std::printf("%-52s %10.1f ms\n", "(a) raw fetch: store_result + read every value", rawMs);
    std::printf("%-52s %10.1f ms\n", "(a') raw fetch + every value as QString", rawTextMs);
    std::printf("%-52s %10.1f ms\n", "(b) Query open + every field as text", queryMs);
    std::printf("%-52s %10.2f\n", "b / a", queryMs / rawMs);
    std::printf("%-52s %10.2f\n", "b / a'", queryMs / rawTextMs);
    std::printf("%-52s %10.1f MB\n", "raw result memory", rawBytes / 1e6);
    std::printf("%-52s %10.1f MB\n", "open query memory", queryBytes / 1e6);
    std::printf("%-52s %10.2f\n", "query / raw memory", double(queryBytes) / double(rawBytes));
    std::printf("%-52s %10.1f ms (%d rows pass)\n", "(c) text filter over all rows", filterMs, passing);
    std::printf("%-52s %10.1f ms\n", "(c) numeric range filter over all rows", numericFilterMs);
    std::printf("(checksum %zu)\n", touched);
    return 0;
}
