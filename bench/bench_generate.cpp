// Fills the database 190400 of a running server with a large cooperative. Every table is emptied
// first, so point it only at a server whose data may go. Run:
//   build/bench/bench/bench_generate SOCKET [scale] [password]
// Scale 1 (the default) is 100,000 goods, 200 shops, 5,000 employees, 1,000,000 receipt lines and
// 1,000,000 revenue entries; 0.1 gives a tenth of each. bench_scale runs it on its own server.
#include "cooperative.h"

#include "data/databaseerror.h"
#include "data/internalserver.h"
#include "data/mariadbhandles.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

using namespace coop;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SOCKET [scale] [password]\n", argv[0]);
        return 2;
    }
    ConnectTarget target;
    target.socket = QString::fromLocal8Bit(argv[1]);
    target.user = QStringLiteral("root");
    target.password = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString::fromLatin1(InternalServer::RootPassword);
    target.database = QString::fromLatin1(InternalServer::DatabaseName);
    target.multiStatements = true;
    target.timeoutSeconds = 3600;
    const bench::CooperativeSize size(argc > 2 ? std::atof(argv[2]) : 1.0);
    try {
        MysqlHandle connection = connectMysql(target);
        QElapsedTimer timer;
        timer.start();
        bench::generateCooperative(connection.get(), size, [&](const QString &what) {
            std::printf("%7.1f s  %s\n", timer.nsecsElapsed() / 1e9, qPrintable(what));
            std::fflush(stdout);
        });
        std::printf("%7.1f s  done\n", timer.nsecsElapsed() / 1e9);
    } catch (const Error &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
