#include "datahomelock.h"

#include "data/databaseerror.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace coop {

DataHomeLock::DataHomeLock(const QString &dataHome, Mode mode)
{
    if (!QDir().mkpath(dataHome))
        throw Error(QStringLiteral("Cannot create the directory %1").arg(QDir::toNativeSeparators(dataHome)));
    const QByteArray path = QFile::encodeName(dataHome + QStringLiteral("/in-use.lock"));
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        throw Error(QStringLiteral("Cannot open %1: %2").arg(QFile::decodeName(path), QString::fromLocal8Bit(strerror(errno))));
    m_held = ::flock(m_fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0;
}

DataHomeLock::~DataHomeLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace coop
