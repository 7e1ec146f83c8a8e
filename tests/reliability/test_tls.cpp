// The connection to a shared server over the network: encrypted and the server's certificate
// verified, against the data source's CA or a pinned fingerprint; a server without TLS, or one
// whose certificate does not verify, refused with a message that names the host and says which;
// plain only where the administrator says Tls=off. The servers are real, with certificates of a
// CA made for the test; Tls=on stands in for another machine on the loopback.
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/datasource.h"
#include "sharedserver.h"
#include "sqlhelpers.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace coop;

namespace {

QByteArray openssl(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("openssl %s: %s", qPrintable(arguments.join(u' ')), process.readAllStandardError().constData());
    return process.readAllStandardOutput();
}

} // namespace

class TestTls : public QObject
{
    Q_OBJECT

    QTemporaryDir m_certs{QStringLiteral("/tmp/coop-tls-XXXXXX")};
    QString m_fingerprint;

    QString file(const QString &name) const { return m_certs.filePath(name); }
    QString otherFingerprint() const { return (m_fingerprint.startsWith(u'0') ? u'1' : u'0') + m_fingerprint.mid(1); }

    // A CA of the test's own, and the server's certificate it signs for 127.0.0.1.
    void makeCertificates()
    {
        for (const QString &ca : {QStringLiteral("ca"), QStringLiteral("other-ca")})
            openssl({QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"),
                     QStringLiteral("-nodes"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                     QStringLiteral("/CN=Coop test %1").arg(ca), QStringLiteral("-keyout"), file(ca + QStringLiteral(".key")),
                     QStringLiteral("-out"), file(ca + QStringLiteral(".pem"))});
        // The server's certificate, signed by the test's CA for the names given.
        const auto sign = [&](const QString &name, const QByteArray &names) {
            openssl({QStringLiteral("req"), QStringLiteral("-newkey"), QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                     QStringLiteral("-subj"), QStringLiteral("/CN=") + QString::fromLatin1(names).section(u':', 1), QStringLiteral("-keyout"),
                     file(name + QStringLiteral(".key")), QStringLiteral("-out"), file(name + QStringLiteral(".csr"))});
            QFile extensions(file(name + QStringLiteral(".ext")));
            QVERIFY(extensions.open(QIODevice::WriteOnly));
            extensions.write("subjectAltName=" + names + '\n');
            extensions.close();
            openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-in"),
                     file(name + QStringLiteral(".csr")), QStringLiteral("-CA"), file(QStringLiteral("ca.pem")), QStringLiteral("-CAkey"),
                     file(QStringLiteral("ca.key")), QStringLiteral("-CAcreateserial"), QStringLiteral("-extfile"),
                     file(name + QStringLiteral(".ext")), QStringLiteral("-out"), file(name + QStringLiteral(".pem"))});
        };
        sign(QStringLiteral("server"), "IP:127.0.0.1");
        sign(QStringLiteral("elsewhere"), "DNS:coop-db.example");
        // "SHA1 Fingerprint=AB:CD:…"
        m_fingerprint = QString::fromLatin1(openssl({QStringLiteral("x509"), QStringLiteral("-noout"), QStringLiteral("-fingerprint"),
                                                     QStringLiteral("-sha1"), QStringLiteral("-in"), file(QStringLiteral("server.pem"))}))
                            .section(u'=', 1)
                            .trimmed();
        QCOMPARE(m_fingerprint.size(), 59);
    }

    // The program's own way in: the data source read from its file, the first host that is ready.
    QString connectWith(const SharedServer &server, const QString &tlsLines)
    {
        QFile ini(file(QStringLiteral("datasources.ini")));
        if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("no data source file");
        ini.write((server.dataSourceText() + tlsLines).toUtf8());
        ini.close();
        const DataSource source = DataSource::parse(QStringLiteral("MyDB3"), ini.fileName());
        ConnectTarget target;
        target.user = source.user;
        target.password = source.password;
        target.database = source.database;
        try {
            MysqlHandle handle = connectFirstReady(target, source);
            const QString cipher = reliability::sqlRows(handle.get(), QStringLiteral("SHOW SESSION STATUS LIKE 'Ssl_cipher'")).value(0);
            return cipher.section(u'|', 1).isEmpty() ? QStringLiteral("plain") : QStringLiteral("encrypted");
        } catch (const DatabaseError &error) {
            return error.text();
        }
    }

    void connects_data(bool serverTls)
    {
        QTest::addColumn<QString>("tls");
        QTest::addColumn<QString>("expected");
        const QString ca = QStringLiteral("Tls=on\nTlsCa=%1\n").arg(file(QStringLiteral("ca.pem")));
        if (serverTls) {
            QTest::newRow("its CA") << ca << QStringLiteral("encrypted");
            QTest::newRow("another CA") << QStringLiteral("Tls=on\nTlsCa=%1\n").arg(file(QStringLiteral("other-ca.pem")))
                                        << QStringLiteral("сертифікат сервера 127.0.0.1 не пройшов перевірки");
            QTest::newRow("the system's CAs") << QStringLiteral("Tls=on\n") << QStringLiteral("сертифікат сервера 127.0.0.1 не пройшов перевірки");
            QTest::newRow("its fingerprint") << QStringLiteral("Tls=on\nTlsFingerprint=%1\n").arg(m_fingerprint) << QStringLiteral("encrypted");
            QTest::newRow("another fingerprint") << QStringLiteral("Tls=on\nTlsFingerprint=%1\n").arg(otherFingerprint())
                                                 << QStringLiteral("сертифікат сервера 127.0.0.1 не пройшов перевірки");
            // require_secure_transport: the server turns a plain connection away as it would a wrong password
            QTest::newRow("plain, refused by the server") << QStringLiteral("Tls=off\n") << QStringLiteral("Access denied");
            QTest::newRow("loopback without Tls=on") << QString() << QStringLiteral("Access denied");
        } else {
            QTest::newRow("TLS asked of a server without it") << ca << QStringLiteral("сервер 127.0.0.1 не пропонує шифрованого з'єднання (TLS)");
            QTest::newRow("Tls=off") << QStringLiteral("Tls=off\n") << QStringLiteral("plain");
        }
    }

    void connects(const SharedServer &server)
    {
        QFETCH(QString, tls);
        QFETCH(QString, expected);
        const QString outcome = connectWith(server, tls);
        QVERIFY2(outcome.contains(expected), qPrintable(outcome));
        if (outcome != expected) // a refusal says how to configure the data source
            QVERIFY2(expected.contains(QStringLiteral("Access denied")) || outcome.contains(QStringLiteral("TlsCa=")), qPrintable(outcome));
    }

    SharedServer m_tlsServer;
    SharedServer m_plainServer;
    SharedServer m_elsewhereServer; // its certificate, of the right CA, names another host

    QStringList tlsOptions(const QString &certificate) const
    {
        return {QStringLiteral("ssl-ca=%1").arg(m_certs.filePath(QStringLiteral("ca.pem"))),
                QStringLiteral("ssl-cert=%1").arg(m_certs.filePath(certificate + QStringLiteral(".pem"))),
                QStringLiteral("ssl-key=%1").arg(m_certs.filePath(certificate + QStringLiteral(".key"))),
                QStringLiteral("require-secure-transport=ON")};
    }

public:
    TestTls() : m_tlsServer(tlsOptions(QStringLiteral("server"))), m_elsewhereServer(tlsOptions(QStringLiteral("elsewhere"))) {}

private slots:
    void initTestCase()
    {
        QVERIFY(m_certs.isValid());
        makeCertificates();
        m_tlsServer.start();
        m_plainServer.start();
        m_elsewhereServer.start();
    }

    void serverWithTls_data() { connects_data(true); }
    void serverWithTls() { connects(m_tlsServer); }
    void serverWithoutTls_data() { connects_data(false); }
    void serverWithoutTls() { connects(m_plainServer); }

    // A certificate of the right CA for another host's name: the host name is verified too.
    void certificateOfAnotherHost()
    {
        const QString outcome = connectWith(m_elsewhereServer, QStringLiteral("Tls=on\nTlsCa=%1\n").arg(file(QStringLiteral("ca.pem"))));
        QVERIFY2(outcome.contains(QStringLiteral("сертифікат сервера 127.0.0.1 не пройшов перевірки")), qPrintable(outcome));
        QVERIFY2(outcome.contains(QStringLiteral("TlsCa=")), qPrintable(outcome));
    }
};

QTEST_GUILESS_MAIN(TestTls)
#include "test_tls.moc"
