#include "exitcopy.h"

#include "admin/automaticcopies.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/datasource.h"
#include "data/internalserver.h"
#include "widgets/application.h"
#include "widgets/longwork.h"

namespace coop {

std::unique_ptr<DataHomeLock> useInternalData()
{
    if (!DataSource::load(QStringLiteral("MyDB3")).internal)
        return nullptr;
    auto lock = std::make_unique<DataHomeLock>(InternalServer::defaultLocation().dataHome, DataHomeLock::Mode::Shared);
    if (!lock->isHeld())
        throw Error(QStringLiteral("Базу даних програми саме відновлюють з копії. Запустіть програму, коли відновлення закінчиться."));
    return lock;
}

void writeAutomaticCopy(Database &database)
{
    InternalServer *server = database.internalServer();
    if (!server)
        return;
    LongWork dialog;
    const auto progress = [&] { dialog(QStringLiteral("Записується щоденна копія бази даних…")); };
    try {
        ConnectTarget target;
        target.socket = server->socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
        target.database = QString::fromLatin1(InternalServer::DatabaseName);
        AutomaticCopies(InternalServer::defaultLocation().dataHome).writeIfDue(target, QDateTime::currentDateTime(), progress);
    } catch (const std::exception &error) {
        dialog.close();
        const auto *ours = dynamic_cast<const Error *>(&error);
        showErrorBox(QStringLiteral("Щоденну копію бази даних не записано: %1")
                         .arg(ours ? ours->text() : QString::fromLocal8Bit(error.what())));
    }
}

} // namespace coop
