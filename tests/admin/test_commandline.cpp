// The command line: the clerk's program without arguments, --help and --version, the
// administrator's options, and every other argument refused with the usage line and status 2.
// The program itself is run without a display, as cron would run it.
#include "admin/commandline.h"

#include <QProcess>
#include <QTest>

using namespace coop;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("force");
        using A = CommandLine::Action;
        QTest::newRow("none") << QStringList{} << int(A::Program) << "" << "" << false;
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << int(A::Help) << "" << "" << false;
        QTest::newRow("bad before help") << QStringList{QStringLiteral("--bogus"), QStringLiteral("--help")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << int(A::Version) << "" << "" << false;
        QTest::newRow("backup") << QStringList{QStringLiteral("--backup"), QStringLiteral("copy.sql.gz")} << int(A::Command) << "--backup" << "copy.sql.gz" << false;
        QTest::newRow("backup=") << QStringList{QStringLiteral("--backup=/tmp/a b.gz")} << int(A::Command) << "--backup" << "/tmp/a b.gz" << false;
        QTest::newRow("restore") << QStringList{QStringLiteral("--restore"), QStringLiteral("c.gz")} << int(A::Command) << "--restore" << "c.gz" << false;
        QTest::newRow("restore force") << QStringList{QStringLiteral("--restore"), QStringLiteral("c.gz"), QStringLiteral("--force")} << int(A::Command) << "--restore" << "c.gz" << true;
        QTest::newRow("force first") << QStringList{QStringLiteral("--force"), QStringLiteral("--restore"), QStringLiteral("c.gz")} << int(A::Command) << "--restore" << "c.gz" << true;
        QTest::newRow("unknown") << QStringList{QStringLiteral("--bogus")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("stray word") << QStringList{QStringLiteral("copy.sql.gz")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("qt's own option") << QStringList{QStringLiteral("-platform"), QStringLiteral("xcb")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("backup without file") << QStringList{QStringLiteral("--backup")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("backup empty file") << QStringList{QStringLiteral("--backup=")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("option for file") << QStringList{QStringLiteral("--restore"), QStringLiteral("--force")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("two commands") << QStringList{QStringLiteral("--backup"), QStringLiteral("a"), QStringLiteral("--restore"), QStringLiteral("b")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("force on backup") << QStringList{QStringLiteral("--backup"), QStringLiteral("a"), QStringLiteral("--force")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("force alone") << QStringList{QStringLiteral("--force")} << int(A::Refused) << "" << "" << false;
        QTest::newRow("extra word") << QStringList{QStringLiteral("--backup"), QStringLiteral("a"), QStringLiteral("b")} << int(A::Refused) << "" << "" << false;
    }

    void parses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(bool, force);
        const CommandLine line = parseCommandLine(arguments);
        QCOMPARE(int(line.action), action);
        QCOMPARE(line.command ? QString::fromLatin1(line.command->option) : QString(), command);
        QCOMPARE(line.file, file);
        QCOMPARE(line.force, force);
        QCOMPARE(line.refusal.isEmpty(), action != int(CommandLine::Action::Refused));
    }

    void everyCommandIsInTheUsageAndTheHelp()
    {
        for (const AdminCommand &command : adminCommands()) {
            QVERIFY(usageLine().contains(QLatin1String(command.option)));
            QVERIFY(helpText().contains(QLatin1String(command.option)));
            QVERIFY(command.run);
        }
    }

    void programWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0 << "--restore FILE [--force]" << "";
        QTest::newRow("version") << QStringList{QStringLiteral("--version")} << 0 << "myrolan " COOP_VERSION "\n" << "";
        QTest::newRow("unknown") << QStringList{QStringLiteral("--bogus")} << 2 << "" << "«--bogus»";
        QTest::newRow("missing file") << QStringList{QStringLiteral("--backup")} << 2 << "" << "--backup потребує FILE";
        QTest::newRow("word") << QStringList{QStringLiteral("backup")} << 2 << "" << "«backup»";
    }

    // No DISPLAY, no platform plugin chosen: a program that reached for a window would fail here.
    void programWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MYROLAN_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(30000));
        const QString standardOutput = QString::fromUtf8(program.readAllStandardOutput());
        const QString standardError = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitCode(), status);
        QVERIFY2(standardOutput.contains(out), qPrintable(standardOutput));
        if (status == 2) {
            QVERIFY(standardOutput.isEmpty());
            QVERIFY2(standardError.contains(err), qPrintable(standardError));
            const QString usage = standardError.trimmed().section(u'\n', -1);
            QVERIFY2(usage.startsWith(QStringLiteral("Використання: myrolan [--help | --version | --backup FILE")), qPrintable(usage));
        } else {
            QCOMPARE(standardError, QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
