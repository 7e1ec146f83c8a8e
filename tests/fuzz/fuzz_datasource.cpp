// The data-source file (datasources.ini) as anyone may write it: it is read or refused with
// coop::Error, a data source read from it is one the connection can use, and a refusal never shows
// the password the file holds.

#include "fuzzcheck.h"

#include "data/datasource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace coop;

namespace {

const QString Alias = QStringLiteral("MyDB3");

// The file the parser reads, rewritten for every input: in memory where the system has a folder
// for it, as a disk would slow the run down a hundredfold.
QString scratchFile()
{
    const QString folder = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    return folder + QStringLiteral("/coop-fuzz-datasource-%1.ini").arg(QCoreApplication::applicationPid());
}

// The passwords of the file that appear nowhere else in it, long enough not to be found by chance.
QStringList passwordsOnly(const QString &content)
{
    static const QRegularExpression passwordLine(QStringLiteral("^\\s*password\\s*=(.*)$"),
                                                 QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QStringList passwords;
    QString rest; // the file without its password lines
    qsizetype restFrom = 0;
    for (auto it = passwordLine.globalMatch(content); it.hasNext();) {
        const auto match = it.next();
        rest += content.mid(restFrom, match.capturedStart(0) - restFrom);
        restFrom = match.capturedEnd(0);
        const QString value = match.captured(1).trimmed();
        if (value.size() >= 6)
            passwords.append(value);
    }
    rest += content.mid(restFrom);
    // Nor where the error names things of its own: the alias, whose section the file may spell in
    // another case, and the file's path.
    const QString own = QStringLiteral("[%1] %2").arg(Alias, scratchFile());
    passwords.removeIf([&](const QString &password) {
        return rest.contains(password, Qt::CaseInsensitive) || own.contains(password, Qt::CaseInsensitive);
    });
    return passwords;
}

void checkSource(const DataSource &source)
{
    FUZZ_CHECK(source.alias == Alias);
    FUZZ_CHECK(source.port <= 65535);
    FUZZ_CHECK(source.connectTimeout >= 1 && source.connectTimeout <= 3600);
    FUZZ_CHECK(!source.database.isEmpty() && !source.user.isEmpty());
    if (source.internal) {
        FUZZ_CHECK(source.hosts.isEmpty());
        FUZZ_CHECK(!source.password.isEmpty());
    } else {
        FUZZ_CHECK(!source.hosts.isEmpty() || !source.socket.isEmpty());
    }
    for (const DataSource::Host &host : source.hosts) {
        FUZZ_CHECK(!host.name.isEmpty());
        FUZZ_CHECK(host.port <= 65535);
        FUZZ_CHECK(host.name.compare(QStringLiteral("internal"), Qt::CaseInsensitive) != 0);
        for (QChar c : host.name)
            FUZZ_CHECK(!c.isSpace(), host.name);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = scratchFile();
    static const struct Removal
    {
        ~Removal() { QFile::remove(path); } // at the run's end
    } removal;
    const QByteArray content = fuzz::bytes(data, size);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            fuzz::broken("the scratch file cannot be written", __FILE__, __LINE__, path);
    }
    DataSource source;
    QString error;
    if (fuzz::raisesOnlyCoopError([&] { source = DataSource::parse(Alias, path); }, &error)) {
        checkSource(source);
    } else {
        for (const QString &password : passwordsOnly(QString::fromUtf8(content)))
            FUZZ_CHECK(!error.contains(password), error);
    }
    return 0;
}
