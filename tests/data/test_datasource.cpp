// Reading the named data source: what each file leads to, and that every fault in it is reported.
#include "data/databaseerror.h"
#include "data/datasource.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace coop;

class TestDataSource : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray &text)
    {
        const QString path = m_dir.filePath(QStringLiteral("datasources.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        return path;
    }

private slots:
    void sources_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("internal");
        QTest::addColumn<QString>("host");
        QTest::addColumn<uint>("port");
        QTest::addColumn<QString>("socket");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("password");
        QTest::newRow("internal") << QByteArray("[MyDB3]\nServer=internal\n") << true << "" << 0u << "" << "190400" << "5839";
        QTest::newRow("host and port")
            << QByteArray("[MyDB3]\nServer=db.coop\nPort=3307\nDatabase=coop\nUser=clerk\nPassword=p=w;d\n")
            << false << "db.coop" << 3307u << "" << "coop" << "p=w;d";
        QTest::newRow("socket") << QByteArray("; shared server\n[MyDB3]\nSocket=/run/mysqld/mysqld.sock\n")
                                << false << "" << 0u << "/run/mysqld/mysqld.sock" << "190400" << "";
        QTest::newRow("other sections ignored") << QByteArray("[Other]\nServer=x\n[mydb3]\nServer=h\n")
                                                << false << "h" << 0u << "" << "190400" << "";
    }
    void sources()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, internal);
        QFETCH(QString, host);
        QFETCH(uint, port);
        QFETCH(QString, socket);
        QFETCH(QString, database);
        QFETCH(QString, password);
        const DataSource source = DataSource::parse(QStringLiteral("MyDB3"), write(ini));
        QCOMPARE(source.internal, internal);
        QCOMPARE(source.host, host);
        QCOMPARE(source.port, port);
        QCOMPARE(source.socket, socket);
        QCOMPARE(source.database, database);
        QCOMPARE(source.password, password);
    }

    void faults_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("fragment");
        QTest::newRow("unknown key") << QByteArray("[MyDB3]\nServer=h\nPasword=x\n") << "unknown key 'Pasword'";
        QTest::newRow("line without =") << QByteArray("[MyDB3]\nServer h\n") << "line 2";
        QTest::newRow("broken section") << QByteArray("[MyDB3\nServer=h\n") << "line 1";
        QTest::newRow("bad port") << QByteArray("[MyDB3]\nServer=h\nPort=http\n") << "Port 'http'";
        QTest::newRow("port out of range") << QByteArray("[MyDB3]\nServer=h\nPort=70000\n") << "Port '70000'";
        QTest::newRow("alias missing") << QByteArray("[Other]\nServer=h\n") << "no data source 'MyDB3'";
        QTest::newRow("no server") << QByteArray("[MyDB3]\nDatabase=x\n") << "neither Server nor Socket";
    }
    void faults()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QString, fragment);
        try {
            DataSource::parse(QStringLiteral("MyDB3"), write(ini));
            QFAIL("accepted");
        } catch (const Error &error) {
            QVERIFY2(error.text().contains(fragment), qPrintable(error.text()));
        }
    }

    void noFileMeansInternal()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("empty"))));
        const DataSource source = DataSource::load(QStringLiteral("MyDB3"));
        QVERIFY(source.internal);
        QCOMPARE(source.database, QStringLiteral("190400"));
        QCOMPARE(source.user, QStringLiteral("root"));
    }
};

QTEST_GUILESS_MAIN(TestDataSource)
#include "test_datasource.moc"
