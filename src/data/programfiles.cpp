#include "programfiles.h"

#include "databaseerror.h"

#include <QFile>

namespace coop {

QByteArray programFile(const QString &relativePath)
{
    QFile file(QStringLiteral(":/") + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("The program carries no file %1").arg(relativePath));
    return file.readAll();
}

} // namespace coop
