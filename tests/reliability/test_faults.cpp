// Faults in the middle of a command: the program's own internal server is killed, or the connection
// is dropped by the server, just before each statement a command sends, in turn. Afterwards the
// stock and the documents are exactly as before the command (or, once its last change was made
// durable, exactly as after it), the stock journal agrees with the stock, the clerk has seen the
// error box, and the next use of the screen reconnects and the command then works. A posting or a
// transfer whose COMMIT lost its connection looks itself up in the journal on the new connection and
// tells the clerk whether it took effect, also when the server made it durable and died before
// answering.
#include "data/database.h"
#include "data/internalserver.h"
#include "data/query.h"
#include "ledger/stockcheck.h"
#include "movement/form11.h"
#include "movement/form7.h"
#include "reference/form5.h"
#include "reference/form6.h"
#include "reference/form8.h"
#include "sqlhelpers.h"
#include "stock/form12.h"
#include "stock/form13.h"
#include "support/controls.h"
#include "support/guitestmain.h"
#include "widgets/dbgrid.h"
#include "widgets/idcombobox.h"
#include "widgets/messages.h"
#include "widgets/screen.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using namespace coop;
using namespace reliability;

namespace {

enum class Fault { KillServer, DropConnection };

// Our own rows, numbered far above the demo cooperative's: receipt 9001 brings goods 9001 (held
// at the base) and goods 9002 (not yet held); distribution 9001 takes goods 9001 (already in shop
// 9001) and goods 9003 (not yet there); department 9001 has no staff and may be deleted.
const char *const Fixture =
    "INSERT INTO tovary (Id, NazvaTovary) VALUES (9001, 'Сіль йодована'), (9002, 'Цукор'), (9003, 'Олія');"
    "INSERT INTO postachalnuku (Id, NazvaPostachalnuka) VALUES (9001, 'Зоря');"
    "INSERT INTO spivrobitnuku (Id, PIB) VALUES (9001, 'Іваненко');"
    "INSERT INTO magazunu (Id, NazvaMagazuny, AdresaMagazuny, IdSpivrobitnuka) VALUES (9001, 'Колос', 'Центральна, 1', 9001);"
    "INSERT INTO viddilu (Id, NazvaViddily, MisceRoztash) VALUES (9001, 'Архів', 'к. 9');"
    "INSERT INTO nadhodgennya VALUES (9001, 9001, 9001, '2011-06-01');"
    "INSERT INTO chonadishlo (Id, IdTovary, IdNadhodgennya, Kilkist, Cina) VALUES (9001, 9001, 9001, 5, 2.5), (9002, 9002, 9001, 7, 3);"
    "INSERT INTO baza VALUES (9001, 9001, 100), (9003, 9003, 50);"
    "INSERT INTO rozpodil VALUES (9001, 9001, 9001, '2011-06-02');"
    "INSERT INTO pozuciirozpodily (Id, IdRozpodily, IdTovary, Kilkist, CinaPostachannya) VALUES (9001, 9001, 9001, 3, 2.5), (9002, 9001, 9003, 2, 4);"
    "INSERT INTO nayavnistvmagazuni VALUES (9001, 9001, 9001, 10, 2.5, 3.125)";

// The stock journal's opening rows for the stock above.
const char *const FixtureJournal =
    "INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, Zalyshok, Komanda)"
    " SELECT NOW(6), 'root', 'залишок на початок', NULL, IdTovary, NULL, KilkistNaBazi, KilkistNaBazi, 'fixture' FROM baza WHERE Id >= 9001"
    " UNION ALL SELECT NOW(6), 'root', 'залишок на початок', NULL, IdTovary, IdMagazuny, Kilkist, Kilkist, 'fixture'"
    " FROM nayavnistvmagazuni WHERE Id >= 9001";

const QStringList SavedTables = {QStringLiteral("baza"), QStringLiteral("nayavnistvmagazuni"), QStringLiteral("chonadishlo"),
                                 QStringLiteral("viddilu"), QStringLiteral("ruhtovariv")};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestFaults : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home{QStringLiteral("/tmp/coop-rel-XXXXXX")};
    std::unique_ptr<Database> m_db;
    std::unique_ptr<TForm12> m_stock;
    std::unique_ptr<TForm13> m_shopStock;
    std::unique_ptr<TForm7> m_receipts;
    std::unique_ptr<TForm11> m_distribution;
    std::unique_ptr<TForm5> m_search;
    std::unique_ptr<TForm6> m_filter;
    std::unique_ptr<TForm8> m_departments;
    MysqlHandle m_admin;
    QList<MessageRequest> m_messages;
    MessageFunction m_previousMessages;
    ShowModalFunction m_previousShow;

    // The fault armed for the statement numbered m_at (from 0) after arming.
    bool m_armed = false;
    bool m_commitFirst = false; // the fault comes once the COMMIT it was armed for is durable
    bool m_fired = false;
    int m_count = 0;
    int m_at = 0;
    int m_again = -1; // a second fault, at this later statement
    Fault m_fault = Fault::KillServer;
    qulonglong m_connectionId = 0;

    int m_injected = 0;
    int m_changedBeforeDurable = 0;
    int m_tookEffect = 0;

    MYSQL *admin()
    {
        if (m_admin && mysql_ping(m_admin.get()) == 0)
            return m_admin.get();
        m_admin.reset();
        ConnectTarget target;
        target.socket = m_db->internalServer()->socketPath();
        target.user = QStringLiteral("root");
        target.password = QString::fromLatin1(InternalServer::RootPassword);
        target.database = QString::fromLatin1(InternalServer::DatabaseName);
        target.multiStatements = true;
        m_admin = connectMysql(target);
        return m_admin.get();
    }

    void restore()
    {
        QString script;
        for (const QString &table : SavedTables)
            script += QStringLiteral("DELETE FROM %1; INSERT INTO %1 SELECT * FROM rel_saved_%1;").arg(table);
        sqlExec(admin(), script);
    }

    qulonglong connectionId()
    {
        MysqlResult result = m_db->select(QStringLiteral("SELECT CONNECTION_ID()"));
        MYSQL_ROW row = mysql_fetch_row(result.get());
        return QByteArray(row[0]).toULongLong();
    }

    void inject()
    {
        m_fired = true;
        ++m_injected;
        if (m_fault == Fault::KillServer) {
            const qint64 pid = m_db->internalServer()->serverPid();
            QVERIFY(pid > 0);
            ::kill(pid_t(pid), SIGKILL);
            // Dead once it is gone or a zombie: its sockets are closed by then.
            QDeadlineTimer deadline(10000);
            while (!deadline.hasExpired()) {
                QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
                if (!stat.open(QIODevice::ReadOnly) || stat.readAll().contains(") Z "))
                    return;
                QThread::msleep(10);
            }
            QFAIL("the killed server did not go");
        } else {
            sqlExec(admin(), QStringLiteral("KILL CONNECTION %1").arg(m_connectionId));
            QDeadlineTimer deadline(10000);
            while (!deadline.hasExpired()) {
                if (sqlValue(admin(), QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE ID=%1")
                                          .arg(m_connectionId)) == QLatin1String("0"))
                    return;
                QThread::msleep(10);
            }
            QFAIL("the dropped connection stayed");
        }
    }

    // How a command is made ready on its screen (false when its document or row is not there), and
    // how it is given.
    struct Command
    {
        std::function<bool()> prepare;
        std::function<void()> run;
    };

    Command command(const QString &name)
    {
        if (name == u"posting")
            return {[this] { return showReceipt(); }, [this] { click(control<QPushButton>(*m_receipts, "BitBtn13")); }};
        if (name == u"transfer")
            return {[this] {
                        m_distribution->activate();
                        m_distribution->Query1->close();
                        m_distribution->Query1->open();
                        return m_distribution->Query1->locate(QStringLiteral("Id"), 9001);
                    },
                    [this] { click(control<QPushButton>(*m_distribution, "BitBtn13")); }};
        if (name == u"receipt line insert")
            return {[this] {
                        if (!showReceipt())
                            return false;
                        click(control<QPushButton>(*m_receipts, "BitBtn6"));
                        control<coop::IdComboBox>(*m_receipts, "ComboBox3")->setCurrentIndex(int(control<coop::IdComboBox>(*m_receipts, "ComboBox3")->idList().indexOf(QStringLiteral("9003"))));
                        control<QLineEdit>(*m_receipts, "Edit1")->setText(QStringLiteral("4"));
                        control<QLineEdit>(*m_receipts, "Edit2")->setText(QStringLiteral("2,5"));
                        return true;
                    },
                    [this] { click(control<QPushButton>(*m_receipts, "BitBtn9")); }};
        return {[this] {
                    m_departments->Query1->close();
                    m_departments->Query1->open();
                    return m_departments->Query1->locate(QStringLiteral("Id"), 9001);
                },
                [this] { click(m_departments->findChild<QAbstractButton *>(QStringLiteral("BitBtn3"))); }};
    }

    bool showReceipt()
    {
        m_receipts->activate(); // abandons a panel a failed command left open
        m_receipts->Query1->close();
        m_receipts->Query1->open();
        return m_receipts->Query1->locate(QStringLiteral("Id"), 9001);
    }

    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    QString errorText() const
    {
        for (const MessageRequest &request : m_messages)
            if (request.kind == MessageKind::ErrorBox)
                return request.text;
        return {};
    }

    // Every base and shop quantity agrees with the stock journal.
    void verifyJournalAgrees(const QString &where)
    {
        const StockCheck check = compareStockWithJournal(*m_db);
        QStringList details;
        for (const StockMismatch &m : check.mismatches)
            details << QStringLiteral("goods %1 shop %2: stock %3, journal %4")
                           .arg(m.goods)
                           .arg(m.shop.value_or(0))
                           .arg(m.stock.value_or(-1))
                           .arg(m.journal);
        QVERIFY2(details.isEmpty(), qPrintable(where + u'\n' + details.join(u'\n')));
    }

    QStringList shownTexts() const
    {
        QStringList texts;
        for (const MessageRequest &request : m_messages)
            texts << request.text;
        return texts;
    }

    int errorBoxes() const
    {
        return int(std::count_if(m_messages.begin(), m_messages.end(),
                                 [](const MessageRequest &r) { return r.kind == MessageKind::ErrorBox; }));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QDir(m_home.path()).mkpath(QStringLiteral("run"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("config")))); // no data-source file
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.filePath(QStringLiteral("run"))));

        m_previousMessages = setMessageFunction([this](const MessageRequest &request) {
            m_messages.append(request);
            return int(mrYes);
        });
        m_previousShow = setShowModalFunction([](QDialog &dialog) {
            dialog.show();
            return int(mrNone);
        });

        m_db = std::make_unique<Database>();
        m_db->setParams({QStringLiteral("USER NAME=root"), QStringLiteral("PASSWORD=") + QLatin1String(InternalServer::RootPassword)});
        m_db->open(); // the first start creates the server with the demo cooperative
        QVERIFY(m_db->internalServer());
        sqlExec(admin(), QString::fromUtf8(Fixture));
        sqlExec(admin(), QString::fromUtf8(FixtureJournal));
        for (const QString &table : SavedTables)
            sqlExec(admin(), QStringLiteral("CREATE TABLE rel_saved_%1 AS SELECT * FROM %1").arg(table));

        m_stock = std::make_unique<TForm12>(*m_db);
        m_shopStock = std::make_unique<TForm13>(*m_db);
        m_receipts = std::make_unique<TForm7>(*m_db);
        m_distribution = std::make_unique<TForm11>(*m_db);
        m_search = std::make_unique<TForm5>();
        m_filter = std::make_unique<TForm6>();
        m_departments = std::make_unique<TForm8>(*m_db);
        for (Screen *screen : std::initializer_list<Screen *>{m_stock.get(), m_shopStock.get(), m_receipts.get(), m_distribution.get()})
            screen->create();
        m_receipts->reach(*m_stock, nullptr);
        m_distribution->reach(*m_stock, *m_shopStock, nullptr);
        m_receipts->show();
        m_distribution->show();
        m_departments->reach(*m_search, *m_filter);
        m_departments->create();
        showModal(*m_departments);

        m_db->setStatementObserver([this](const QString &statement) {
            if (m_armed && m_count++ == m_at) {
                m_armed = m_again > m_at;
                m_at = m_again;
                // The server makes the command durable and dies before its answer leaves it.
                if (m_commitFirst && statement == u"COMMIT")
                    m_db->execute(statement);
                inject();
            }
        });
    }

    void cleanupTestCase()
    {
        qInfo("faults injected: %d; before the command's last change was durable, left anything changed: %d; "
              "after it, took effect entirely: %d",
              m_injected, m_changedBeforeDurable, m_tookEffect);
        m_db->setStatementObserver({});
        m_departments.reset();
        m_distribution.reset();
        m_receipts.reset();
        m_shopStock.reset();
        m_stock.reset();
        m_admin.reset();
        m_db.reset(); // stops the internal server
        setMessageFunction(std::move(m_previousMessages));
        setShowModalFunction(std::move(m_previousShow));
    }

    void faultAtEveryStatement_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fault>("fault");
        for (const char *name : {"posting", "transfer", "receipt line insert", "reference delete"}) {
            QTest::addRow("%s, server killed", name) << QString::fromLatin1(name) << Fault::KillServer;
            QTest::addRow("%s, connection dropped", name) << QString::fromLatin1(name) << Fault::DropConnection;
        }
    }
    void faultAtEveryStatement()
    {
        QFETCH(QString, name);
        QFETCH(Fault, fault);
        const Command cmd = command(name);

        // A run without a fault gives the statements, the point where the change becomes durable
        // (COMMIT, or the one statement that writes), and the state after it.
        restore();
        const QStringList before = stockState(admin());
        QVERIFY(cmd.prepare());
        m_messages.clear();
        m_db->setStatementLogging(true);
        m_db->clearStatementLog();
        cmd.run();
        m_db->setStatementLogging(false);
        const QStringList statements = m_db->statementLog();
        QCOMPARE(errorBoxes(), 0);
        const QStringList told = shownTexts();
        const QStringList after = stockState(admin());
        QVERIFY2(after != before, "the command changes nothing to check");
        qsizetype durable = statements.indexOf(QStringLiteral("COMMIT"));
        if (durable < 0) {
            for (qsizetype i = 0; i < statements.size(); ++i)
                if (!statements[i].startsWith(u"select", Qt::CaseInsensitive))
                    durable = i;
        }
        QVERIFY2(durable >= 0, qPrintable(statements.join(u'\n')));
        qInfo("%lld statements, the change durable with statement %lld: %lld faults",
              qlonglong(statements.size()), qlonglong(durable), qlonglong(statements.size()));

        for (int at = 0; at < statements.size(); ++at) {
            const QString where = QStringLiteral("fault before statement %1: %2").arg(at).arg(statements[at]);
            restore();
            QVERIFY(cmd.prepare());
            m_connectionId = connectionId();
            m_messages.clear();
            m_fault = fault;
            m_fired = false;
            m_count = 0;
            m_at = at;
            m_armed = true;
            cmd.run();
            m_armed = false;
            QVERIFY2(m_fired, qPrintable(where));
            const bool journaled = name == u"posting" || name == u"transfer";
            if (journaled && at > durable) {
                // A posting or transfer that took effect refreshes the screens on a new connection:
                // the clerk sees just what a run without the fault shows.
                QVERIFY2(m_db->connected(), qPrintable(where));
                QVERIFY2(shownTexts() == told, qPrintable(where + u'\n' + shownTexts().join(u'\n')));
            } else if (journaled && statements[at] == u"COMMIT") {
                // Cut off at its COMMIT, it reconnects at once and looks itself up in the journal:
                // the COMMIT never reached the server, so it did not take effect.
                QVERIFY2(errorBoxes() == 1, qPrintable(where));
                QVERIFY2(m_db->connected(), qPrintable(where));
                QVERIFY2(errorText().endsWith(QStringLiteral(". %1 не виконано.").arg(name == u"posting" ? QStringLiteral("Оприбуткування") : QStringLiteral("Переміщення"))),
                         qPrintable(where + u'\n' + errorText()));
            } else {
                QVERIFY2(errorBoxes() == 1, qPrintable(where));
                QVERIFY2(!m_db->connected(), qPrintable(where)); // the lost connection is let go
            }

            // The next use reconnects (starting the server again after a kill); the row a
            // reference delete took is gone once the delete went through.
            cmd.prepare();
            QVERIFY2(m_db->connected(), qPrintable(where));
            const QStringList state = stockState(admin());
            if (at <= durable) {
                if (state != before)
                    ++m_changedBeforeDurable;
                QVERIFY2(state == before, qPrintable(where));
            } else {
                if (state == after)
                    ++m_tookEffect;
                QVERIFY2(state == after, qPrintable(where));
            }
            if (journaled)
                verifyJournalAgrees(where);

            // And the command then works.
            restore();
            QVERIFY(cmd.prepare());
            m_messages.clear();
            cmd.run();
            QVERIFY2(errorBoxes() == 0, qPrintable(where));
            QVERIFY2(stockState(admin()) == after, qPrintable(where));
        }
    }

    void lostCommitThatTookEffect_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QStringList>("messages");
        const QString posted = QStringLiteral("Зв'язок з сервером перервався під час оприбуткування. Оприбуткування виконано.");
        const QString moved = QStringLiteral("Зв'язок з сервером перервався під час переміщення. Переміщення виконано.");
        const QString success = QStringLiteral("Даний товар переміщений в магазин");
        QTest::newRow("posting, server killed") << "posting" << Fault::KillServer << QStringList{posted};
        QTest::newRow("posting, connection dropped") << "posting" << Fault::DropConnection << QStringList{posted};
        QTest::newRow("transfer, server killed") << "transfer" << Fault::KillServer << QStringList{moved, success};
        QTest::newRow("transfer, connection dropped") << "transfer" << Fault::DropConnection << QStringList{moved, success};
    }
    void lostCommitThatTookEffect()
    {
        QFETCH(QString, name);
        QFETCH(Fault, fault);
        QFETCH(QStringList, messages);
        const Command cmd = command(name);

        // Where the COMMIT comes, and what the command leaves behind.
        restore();
        QVERIFY(cmd.prepare());
        m_db->setStatementLogging(true);
        m_db->clearStatementLog();
        cmd.run();
        m_db->setStatementLogging(false);
        const QStringList after = stockState(admin());
        const qsizetype commit = m_db->statementLog().indexOf(QStringLiteral("COMMIT"));
        QVERIFY(commit > 0);

        restore();
        QVERIFY(cmd.prepare());
        m_connectionId = connectionId();
        m_messages.clear();
        m_fault = fault;
        m_fired = false;
        m_count = 0;
        m_at = int(commit);
        m_commitFirst = true;
        m_armed = true;
        cmd.run();
        m_armed = false;
        m_commitFirst = false;
        QVERIFY(m_fired);
        // The clerk is told it took effect, and nothing else is amiss: the screens were refreshed.
        QStringList shown;
        for (const MessageRequest &request : std::as_const(m_messages))
            shown << request.text;
        QCOMPARE(shown, messages);
        QVERIFY(m_db->connected());
        QCOMPARE(stockState(admin()), after);
        verifyJournalAgrees(name);
        QCOMPARE(m_receipts->Query1->recNo(), 0);
    }

    // The server dies just after a posting's or transfer's COMMIT was answered, and again when the
    // refresh of the screens is given once more: the clerk learns that the command took effect, with
    // the refresh's error, and so does not give it again.
    void refreshLostTwice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("done");
        QTest::newRow("posting") << "posting" << "Оприбуткування виконано, але оновити дані на екрані не вдалося: ";
        QTest::newRow("transfer") << "transfer" << "Переміщення виконано, але оновити дані на екрані не вдалося: ";
    }
    void refreshLostTwice()
    {
        QFETCH(QString, name);
        QFETCH(QString, done);
        const Command cmd = command(name);

        restore();
        QVERIFY(cmd.prepare());
        m_db->setStatementLogging(true);
        m_db->clearStatementLog();
        cmd.run();
        m_db->setStatementLogging(false);
        const QStringList after = stockState(admin());
        const qsizetype commit = m_db->statementLog().indexOf(QStringLiteral("COMMIT"));
        QVERIFY(commit > 0 && commit + 1 < m_db->statementLog().size());

        restore();
        QVERIFY(cmd.prepare());
        m_messages.clear();
        m_fault = Fault::KillServer;
        m_fired = false;
        m_count = 0;
        m_at = int(commit) + 1; // the refresh's first statement
        m_again = int(commit) + 2; // the same statement, on the new connection
        m_armed = true;
        cmd.run();
        const bool firedTwice = m_fired && !m_armed;
        m_armed = false;
        m_again = -1;
        QVERIFY(firedTwice);
        QCOMPARE(m_messages.size(), qsizetype(1));
        QCOMPARE(errorBoxes(), 1);
        QVERIFY2(errorText().startsWith(done), qPrintable(errorText()));
        cmd.prepare();
        QCOMPARE(stockState(admin()), after);
        verifyJournalAgrees(name);
    }
};

COOP_GUI_TEST_MAIN(TestFaults)
#include "test_faults.moc"
