// myrolan --check-stock run as the administrator runs it: on the data source the program would use,
// with no display, printing each quantity that disagrees with the stock journal and the counts, and
// answering 0 or 1; on the internal server, which it starts and stops.
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class TestCheckStock : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QStringList lines;
        QStringList errors;
    };

    // The program with only what a terminal session without a display gives it.
    static Run check(const QString &home)
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/run"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QDir().mkpath(home + QStringLiteral("/run"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MYROLAN_PROGRAM), {QStringLiteral("--check-stock")});
        if (!program.waitForFinished(300000))
            return {};
        Run run;
        run.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.lines = QString::fromUtf8(program.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        run.errors = QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        if (!run.errors.isEmpty() && run.status == 0)
            run.status = -2; // nothing is expected on standard error
        return run;
    }

private slots:
    void sharedServer()
    {
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO tovary (Id, NazvaTovary) VALUES (1, 'Цукор'), (2, 'Сіль');"
                               "INSERT INTO magazunu (Id, NazvaMagazuny) VALUES (7, 'Колосок');"
                               "INSERT INTO baza VALUES (1, 1, 40), (2, 2, 0);"
                               "INSERT INTO nayavnistvmagazuni VALUES (1, 7, 1, 3, 2.5, 3.125)"));
        db.upgradeJournal();
        QTemporaryDir home;
        QDir().mkpath(home.filePath(QStringLiteral("config/myrolan")));
        QFile ini(home.filePath(QStringLiteral("config/myrolan/datasources.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(db.dataSourceText().toUtf8());
        ini.close();

        Run run = check(home.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines, QStringList({QStringLiteral("Перевірено залишків: 3, розбіжностей: 0")}));

        // A shop quantity changed behind the program's back.
        db.exec(QStringLiteral("UPDATE nayavnistvmagazuni SET Kilkist = 5 WHERE Id = 1"));
        run = check(home.path());
        QCOMPARE(run.status, 1);
        QCOMPARE(run.lines, QStringList({QStringLiteral("Товар 1 «Цукор», магазин 7 «Колосок»: залишок 5, за журналом 3"),
                                         QStringLiteral("Перевірено залишків: 3, розбіжностей: 1")}));

        // A server that cannot be reached: its text, and status 1.
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(QStringLiteral("[MyDB3]\nSocket=%1/none.sock\n").arg(home.path()).toUtf8());
        ini.close();
        run = check(home.path());
        QCOMPARE(run.status, 1);
        QVERIFY(run.lines.isEmpty());
        QCOMPARE(run.errors.size(), 1);
        QVERIFY2(run.errors.first().contains(QStringLiteral("none.sock")), qPrintable(run.errors.first()));
    }

    void internalServer()
    {
        // No data-source file: the internal server is created (the demo cooperative, its opening
        // rows), checked, and stopped when the check ends.
        QTemporaryDir home(QStringLiteral("/tmp/coop-cs-XXXXXX"));
        const Run run = check(home.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.lines.size(), 1);
        QVERIFY2(run.lines.first().startsWith(QStringLiteral("Перевірено залишків: ")) && run.lines.first().endsWith(QStringLiteral(", розбіжностей: 0")),
                 qPrintable(run.lines.first()));
        QVERIFY(!run.lines.first().startsWith(QStringLiteral("Перевірено залишків: 0,")));
        QVERIFY(!QFile::exists(home.filePath(QStringLiteral("data/myrolan/mariadbd.pid"))));
    }
};

QTEST_GUILESS_MAIN(TestCheckStock)
#include "test_checkstock.moc"
