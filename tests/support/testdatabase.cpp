#include "testdatabase.h"

#include "data/databaseerror.h"
#include "data/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <unistd.h>

namespace {

coop::MysqlHandle connectAdmin(const QString &database)
{
    coop::ConnectTarget target;
    target.socket = TestDatabase::socketPath();
    target.user = QStringLiteral("root");
    target.database = database;
    target.multiStatements = true;
    return coop::connectMysql(target);
}

} // namespace

QString TestDatabase::socketPath() { return QStringLiteral(COOP_TEST_SOCKET); }

TestDatabase::TestDatabase(bool withDemoData)
{
    static std::atomic<int> counter{0};
    m_name = QStringLiteral("t%1_%2").arg(getpid()).arg(++counter);
    {
        coop::MysqlHandle server = connectAdmin({});
        coop::runScript(server.get(),
                        QStringLiteral("DROP DATABASE IF EXISTS `%1`; CREATE DATABASE `%1`").arg(m_name).toUtf8(),
                        QStringLiteral("create test database"));
    }
    m_admin = connectAdmin(m_name);
    coop::runScript(m_admin.get(), coop::programFile(QStringLiteral("db/schema.sql")), QStringLiteral("schema"));
    if (withDemoData)
        coop::runScript(m_admin.get(), coop::programFile(QStringLiteral("db/demo.sql")), QStringLiteral("demo"));

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    writeDataSource(dataSourceText());
}

TestDatabase::~TestDatabase()
{
    try {
        coop::runScript(m_admin.get(), QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name).toUtf8(),
                        QStringLiteral("drop test database"));
    } catch (const coop::Error &) {
        // The server may be the one a test has just killed; the run's cleanup removes it all.
    }
}

QString TestDatabase::dataSourceText() const
{
    return QStringLiteral("[MyDB3]\nSocket=%1\nDatabase=%2\nUser=root\nPassword=\n").arg(socketPath(), m_name);
}

void TestDatabase::writeDataSource(const QString &iniText)
{
    const QString dir = m_config.path() + u'/' + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    QDir().mkpath(dir);
    QFile file(dir + QStringLiteral("/datasources.ini"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the data source file");
    file.write(iniText.toUtf8());
}

void TestDatabase::exec(const QString &statements)
{
    coop::runScript(m_admin.get(), statements.toUtf8(), QStringLiteral("test setup"));
}

QStringList TestDatabase::rows(const QString &select)
{
    const QByteArray sql = select.toUtf8();
    if (mysql_real_query(m_admin.get(), sql.constData(), sql.size()) != 0)
        throw coop::DatabaseError(QString::fromUtf8(mysql_error(m_admin.get())), mysql_errno(m_admin.get()), select);
    coop::MysqlResult result(mysql_store_result(m_admin.get()));
    QStringList out;
    const unsigned columns = result ? mysql_num_fields(result.get()) : 0;
    while (MYSQL_ROW row = result ? mysql_fetch_row(result.get()) : nullptr) {
        QStringList cells;
        for (unsigned i = 0; i < columns; ++i)
            cells.append(row[i] ? QString::fromUtf8(row[i]) : QStringLiteral("NULL"));
        out.append(cells.join(u'|'));
    }
    return out;
}

QString TestDatabase::value(const QString &select)
{
    const QStringList all = rows(select);
    return all.isEmpty() ? QString() : all.first();
}

void TestDatabase::upgradeJournal()
{
    coop::runScript(m_admin.get(), coop::programFile(QStringLiteral("db/upgrade-journal.sql")), QStringLiteral("journal"));
}

QStringList TestDatabase::journal()
{
    return rows(QStringLiteral("SELECT VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok FROM ruhtovariv "
                               "WHERE VydDokumenta <> 'залишок на початок' ORDER BY Id"));
}
