// Copies of the large cooperative: myrolan --backup and --restore beside what mariadb-dump and the
// mariadb client do alone on the same data, in the same run. Run:
//   build/release/bench/bench_copy [scale]
// It starts a private server with the internal server's own settings in /tmp/cbc*, fills it
// (bench_generate's cooperative, scale 1 by default), and removes it all at the end.
#include "admin/databasecopy.h"
#include "cooperative.h"
#include "data/databaseerror.h"
#include "data/internalserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace coop;

namespace {

double seconds(const QElapsedTimer &timer) { return timer.nsecsElapsed() / 1e9; }

// What the program's copy is measured against: the client programs alone, through a shell pipe.
double shell(const QString &command)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw Error(QStringLiteral("failed: %1").arg(command));
    return seconds(timer);
}

void row(const char *what, double time, double baseline)
{
    std::printf("%-44s %8.1f s  %6.2f x\n", what, time, time / baseline);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double scale = argc > 1 ? std::atof(argv[1]) : 1.0;
    try {
        QTemporaryDir home(QStringLiteral("/tmp/cbcXXXXXX"));
        if (!home.isValid())
            throw Error(QStringLiteral("cannot create a temporary directory"));
        InternalServer server({home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("run"))});
        std::printf("scale %.3g; a private server with the internal server's settings in %s\n", scale, qPrintable(home.path()));
        std::fflush(stdout);
        server.ensureRunning();

        ConnectTarget target;
        target.socket = server.socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
        target.database = QString::fromLatin1(InternalServer::DatabaseName);
        target.timeoutSeconds = 3600;
        {
            ConnectTarget filling = target;
            filling.multiStatements = true;
            MysqlHandle connection = connectMysql(filling);
            QElapsedTimer timer;
            timer.start();
            bench::generateCooperative(connection.get(), bench::CooperativeSize(scale));
            std::printf("filled in %.1f s\n", seconds(timer));
        }

        const QString options = home.filePath(QStringLiteral("client.cnf"));
        {
            QFile file(options);
            if (!file.open(QIODevice::WriteOnly))
                throw Error(QStringLiteral("cannot write %1").arg(options));
            file.write(QStringLiteral("[client]\nuser=root\npassword=%1\nsocket=%2\n")
                           .arg(target.password, target.socket).toUtf8());
        }
        const QString client = QStringLiteral("--defaults-file=") + options;
        const QString plain = home.filePath(QStringLiteral("plain.sql.gz"));
        const QString copy = home.filePath(QStringLiteral("copy.sql.gz"));

        std::printf("\n%-44s %10s  %8s\n", "", "time", "ratio");
        const double dumpAlone = shell(QStringLiteral("mariadb-dump %1 --single-transaction --quick --skip-add-locks --no-autocommit 190400 > /dev/null").arg(client));
        row("mariadb-dump alone, to /dev/null", dumpAlone, dumpAlone);
        const double dumpGzip = shell(QStringLiteral("mariadb-dump %1 --single-transaction --quick --skip-add-locks --no-autocommit 190400 | gzip -c > %2").arg(client, plain));
        row("mariadb-dump | gzip (baseline)", dumpGzip, dumpGzip);
        QElapsedTimer timer;
        timer.start();
        const QList<TableRows> tables = writeDatabaseCopy(target, copy);
        const double backup = seconds(timer);
        row("myrolan --backup (copy, counted, gzip)", backup, dumpGzip);

        shell(QStringLiteral("mariadb %1 -e 'CREATE DATABASE plain_load'").arg(client));
        const double loadAlone = shell(QStringLiteral("gzip -dc %2 | mariadb %1 plain_load").arg(client, plain));
        row("gzip -dc | mariadb (baseline)", loadAlone, loadAlone);
        timer.restart();
        loadDatabaseCopy(target, copy);
        const double load = seconds(timer);
        row("loading into a scratch database, swapped in", load, loadAlone);
        row("myrolan --restore (copy kept, then loaded)", backup + load, dumpGzip + loadAlone);

        qint64 rows = 0;
        for (const TableRows &table : tables)
            rows += table.rows;
        std::printf("\n%lld rows in %lld tables; the copy is %.1f MB\n", static_cast<long long>(rows),
                    static_cast<long long>(tables.size()), QFileInfo(copy).size() / 1e6);
    } catch (const Error &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
