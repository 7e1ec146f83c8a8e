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

    // The host list as "name" or "name:port" entries, one blank between them.
    static QString hostsText(const DataSource &source)
    {
        QStringList entries;
        for (const DataSource::Host &host : source.hosts)
            entries << (host.port ? QStringLiteral("%1:%2").arg(host.name).arg(host.port) : host.name);
        return entries.join(u' ');
    }

private slots:
    void sources_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("internal");
        QTest::addColumn<QString>("hosts");
        QTest::addColumn<uint>("port");
        QTest::addColumn<uint>("timeout");
        QTest::addColumn<QString>("socket");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("password");
        QTest::newRow("internal") << QByteArray("[MyDB3]\nServer=internal\n") << true << "" << 0u << 5u << "" << "190400" << "5839";
        QTest::newRow("host and port")
            << QByteArray("[MyDB3]\nServer=db.coop\nPort=3307\nDatabase=coop\nUser=clerk\nPassword=p=w;d\n")
            << false << "db.coop" << 3307u << 5u << "" << "coop" << "p=w;d";
        QTest::newRow("socket") << QByteArray("; shared server\n[MyDB3]\nSocket=/run/mysqld/mysqld.sock\n")
                                << false << "" << 0u << 5u << "/run/mysqld/mysqld.sock" << "190400" << "";
        QTest::newRow("other sections ignored") << QByteArray("[Other]\nServer=x\n[mydb3]\nServer=h\n")
                                                << false << "h" << 0u << 5u << "" << "190400" << "";
        QTest::newRow("three nodes, in order")
            << QByteArray("[MyDB3]\nServer=node1,node2:3307, 10.0.0.3:3308\nPort=3306\nConnectTimeout=2\n")
            << false << "node1 node2:3307 10.0.0.3:3308" << 3306u << 2u << "" << "190400" << "";
        QTest::newRow("IPv6 addresses") << QByteArray("[MyDB3]\nServer=[fd00::1]:3307,[fd00::2],fd00::3\n")
                                        << false << "fd00::1:3307 fd00::2 fd00::3" << 0u << 5u << "" << "190400" << "";
        QTest::newRow("a password with commas is no host list")
            << QByteArray("[MyDB3]\nServer=db\nPassword=a,b:c\n") << false << "db" << 0u << 5u << "" << "190400" << "a,b:c";
    }
    void sources()
    {
        QFETCH(QByteArray, ini);
        QFETCH(bool, internal);
        QFETCH(QString, hosts);
        QFETCH(uint, port);
        QFETCH(uint, timeout);
        QFETCH(QString, socket);
        QFETCH(QString, database);
        QFETCH(QString, password);
        const DataSource source = DataSource::parse(QStringLiteral("MyDB3"), write(ini));
        QCOMPARE(source.internal, internal);
        QCOMPARE(hostsText(source), hosts);
        QCOMPARE(source.port, port);
        QCOMPARE(source.connectTimeout, timeout);
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
        QTest::newRow("empty host in the list") << QByteArray("[MyDB3]\nServer=a,,b\n") << "empty host";
        QTest::newRow("list ends in a comma") << QByteArray("[MyDB3]\nServer=a,b,\n") << "empty host";
        QTest::newRow("port without host") << QByteArray("[MyDB3]\nServer=a,:3307\n") << "empty host";
        QTest::newRow("host port not a number") << QByteArray("[MyDB3]\nServer=a,b:http\n") << "'http' is not a port number";
        QTest::newRow("host port zero") << QByteArray("[MyDB3]\nServer=a:0\n") << "'0' is not a port number";
        QTest::newRow("host port out of range") << QByteArray("[MyDB3]\nServer=a:65536\n") << "'65536' is not a port number";
        QTest::newRow("colon without port") << QByteArray("[MyDB3]\nServer=a:,b\n") << "'' is not a port number";
        QTest::newRow("unclosed bracket") << QByteArray("[MyDB3]\nServer=[fd00::1:3307\n") << "[address]:port";
        QTest::newRow("junk after bracket") << QByteArray("[MyDB3]\nServer=[fd00::1]3307\n") << "[address]:port";
        QTest::newRow("blank instead of comma") << QByteArray("[MyDB3]\nServer=node1 node2\n") << "not a host name";
        QTest::newRow("internal among hosts") << QByteArray("[MyDB3]\nServer=db,internal\n") << "internal cannot stand";
        QTest::newRow("timeout not a number") << QByteArray("[MyDB3]\nServer=h\nConnectTimeout=5s\n") << "ConnectTimeout '5s'";
        QTest::newRow("timeout zero") << QByteArray("[MyDB3]\nServer=h\nConnectTimeout=0\n") << "ConnectTimeout '0'";
        QTest::newRow("timeout negative") << QByteArray("[MyDB3]\nServer=h\nConnectTimeout=-1\n") << "ConnectTimeout '-1'";
        QTest::newRow("tls neither on nor off") << QByteArray("[MyDB3]\nServer=h\nTls=yes\n") << "Tls 'yes' is neither on nor off";
        QTest::newRow("ca file missing") << QByteArray("[MyDB3]\nServer=h\nTlsCa=/nonexistent/ca.pem\n") << "TlsCa /nonexistent/ca.pem is not a file";
        QTest::newRow("fingerprint too short") << QByteArray("[MyDB3]\nServer=h\nTlsFingerprint=AB:CD\n") << "TlsFingerprint is not";
        QTest::newRow("fingerprint not hex") << QByteArray("[MyDB3]\nServer=h\nTlsFingerprint=ZZ34567890123456789012345678901234567890\n")
                                             << "TlsFingerprint is not";
        QTest::newRow("off with a CA") << QByteArray("[MyDB3]\nServer=h\nTls=off\nTlsFingerprint=1234567890123456789012345678901234567890\n")
                                       << "Tls=off cannot stand";
    }

    // Which hosts the connection encrypts: every host but this machine's, judged from the text
    // alone, unless the file says Tls=on or Tls=off.
    void encryptedHosts_data()
    {
        QTest::addColumn<QByteArray>("tls");
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("encrypted");
        const struct
        {
            const char *host;
            bool remote;
        } hosts[] = {{"db.coop.local", true}, {"10.0.0.5", true}, {"fd00::3", true}, {"localhost.example", true},
                     {"127.0.0.1.example", true}, {"128.0.0.1", true}, {"::2", true}, {"localhost", false}, {"LocalHost", false},
                     {"127.0.0.1", false}, {"127.255.3.4", false}, {"::1", false}, {"0:0:0:0:0:0:0:1", false}};
        for (const auto &host : hosts) {
            QTest::addRow("%s", host.host) << QByteArray() << QString::fromLatin1(host.host) << host.remote;
            QTest::addRow("%s, Tls=on", host.host) << QByteArray("Tls=on\n") << QString::fromLatin1(host.host) << true;
            QTest::addRow("%s, Tls=off", host.host) << QByteArray("Tls=OFF\n") << QString::fromLatin1(host.host) << false;
        }
    }
    void encryptedHosts()
    {
        QFETCH(QByteArray, tls);
        QFETCH(QString, host);
        QFETCH(bool, encrypted);
        const QString server = host.contains(u':') ? u'[' + host + u']' : host;
        const DataSource source = DataSource::parse(QStringLiteral("MyDB3"), write("[MyDB3]\nServer=" + server.toUtf8() + ",other\n" + tls));
        QCOMPARE(source.hosts.size(), 2);
        QCOMPARE(source.hosts.first().name, host);
        QCOMPARE(source.encrypts(source.hosts.first()), encrypted);
    }

    void tlsKeysRead()
    {
        const QString ca = write("not really a CA, but readable");
        QFile::rename(ca, m_dir.filePath(QStringLiteral("ca.pem")));
        const DataSource source = DataSource::parse(
            QStringLiteral("MyDB3"),
            write("[MyDB3]\nServer=db\nTls=on\nTlsCa=" + QFile::encodeName(m_dir.filePath(QStringLiteral("ca.pem")))
                  + "\nTlsFingerprint=12:34:56:78:90:AB:CD:EF:12:34:56:78:90:ab:cd:ef:12:34:56:78\n"));
        QCOMPARE(source.tls, DataSource::Tls::On);
        QCOMPARE(source.tlsCa, m_dir.filePath(QStringLiteral("ca.pem")));
        QCOMPARE(source.tlsFingerprint, QStringLiteral("12:34:56:78:90:AB:CD:EF:12:34:56:78:90:ab:cd:ef:12:34:56:78"));
        QCOMPARE(DataSource::parse(QStringLiteral("MyDB3"), write("[MyDB3]\nServer=db\n")).tls, DataSource::Tls::Auto);
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
