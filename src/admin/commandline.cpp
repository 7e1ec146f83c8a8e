#include "commandline.h"

#include "admincommands.h"
#include "data/databaseerror.h"
#include "data/datasource.h"

#include <QCoreApplication>

#include <array>
#include <cstdio>

namespace coop {

namespace {

// The administrator's options, in the order --help lists them. Another option of the kind is one
// more entry whose run function prints its report to out and raises coop::Error on a failure.
constexpr std::array Commands = {
    AdminCommand{"--backup", "FILE", nullptr,
                 "записати стиснену копію бази даних у FILE (клерки можуть працювати далі)", &backupCommand},
    AdminCommand{"--restore", "FILE", "--force",
                 "відновити базу з копії FILE, зберігши спершу поточну поруч із нею;\n"
                 "                        для спільного сервера лише з --force",
                 &restoreCommand},
    AdminCommand{"--check-stock", nullptr, nullptr,
                 "звірити кожен залишок бази й магазинів із журналом руху товарів", &checkStockCommand},
};

const AdminCommand *findCommand(const QString &option)
{
    for (const AdminCommand &command : Commands)
        if (option == QLatin1String(command.option))
            return &command;
    return nullptr;
}

bool isModifier(const QString &option)
{
    for (const AdminCommand &command : Commands)
        if (command.modifier && option == QLatin1String(command.modifier))
            return true;
    return false;
}

CommandLine refused(const QString &why)
{
    CommandLine line;
    line.action = CommandLine::Action::Refused;
    line.refusal = why;
    return line;
}

QTextStream &standardOutput()
{
    static QTextStream out(stdout);
    return out;
}

QTextStream &standardError()
{
    static QTextStream err(stderr);
    return err;
}

} // namespace

std::span<const AdminCommand> adminCommands() { return Commands; }

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool force = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments[i];
        std::optional<QString> inlineValue;
        if (const qsizetype equals = option.indexOf(u'='); option.startsWith(QLatin1String("--")) && equals > 0) {
            inlineValue = option.mid(equals + 1);
            option.truncate(equals);
        }
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (option == QLatin1String("--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (isModifier(option) && !inlineValue) {
            force = true;
            continue;
        }
        const AdminCommand *command = findCommand(option);
        if (!command)
            return refused(QStringLiteral("невідомий параметр «%1»").arg(arguments[i]));
        if (line.command)
            return refused(QStringLiteral("%1 і %2 не можна поєднати").arg(QLatin1String(line.command->option), option));
        line.action = CommandLine::Action::Command;
        line.command = command;
        if (!command->argument) {
            if (inlineValue)
                return refused(QStringLiteral("%1 не має аргументу").arg(option));
            continue;
        }
        if (inlineValue) {
            line.file = *inlineValue;
        } else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(QLatin1String("--"))) {
            line.file = arguments[++i];
        }
        if (line.file.isEmpty())
            return refused(QStringLiteral("%1 потребує %2").arg(option, QLatin1String(command->argument)));
    }
    if (force) {
        if (!line.command || !line.command->modifier)
            return refused(QStringLiteral("--force стосується лише --restore"));
        line.force = true;
    }
    return line;
}

QString usageLine()
{
    QStringList forms;
    for (const AdminCommand &command : Commands) {
        QString form = QLatin1String(command.option);
        if (command.argument)
            form += u' ' + QLatin1String(command.argument);
        if (command.modifier)
            form += QStringLiteral(" [%1]").arg(QLatin1String(command.modifier));
        forms.append(form);
    }
    return QStringLiteral("Використання: %1 [--help | --version | %2]").arg(programName(), forms.join(QStringLiteral(" | ")));
}

QString helpText()
{
    QString text = usageLine() + QStringLiteral(
        "\n\nІнформаційна система Мироланського споживчого товариства. Без параметрів відкриває"
        "\nголовне вікно; параметри адміністратора працюють без вікон і без дисплея.\n\n");
    const auto row = [](const QString &form, const QString &help) {
        return QStringLiteral("  %1%2\n").arg(form.leftJustified(20), help);
    };
    text += row(QStringLiteral("--help"), QStringLiteral("показати цю довідку"));
    text += row(QStringLiteral("--version"), QStringLiteral("показати версію програми"));
    for (const AdminCommand &command : Commands) {
        QString form = QLatin1String(command.option);
        if (command.argument)
            form += u' ' + QLatin1String(command.argument);
        text += row(form, QString::fromUtf8(command.help));
    }
    text += QStringLiteral(
        "\nДжерело даних MyDB3: %1 (без нього — власний сервер програми).\n"
        "Код завершення: 0 — успіх, 1 — команда не вдалася (причина в стандартному потоці помилок),\n"
        "2 — неправильні параметри.\n").arg(DataSource::configFilePath());
    return text;
}

int runCommandLine(const CommandLine &line)
{
    QTextStream &out = standardOutput();
    QTextStream &err = standardError();
    switch (line.action) {
    case CommandLine::Action::Program:
        return ExitUsage; // the program itself is run by main, with its windows
    case CommandLine::Action::Help:
        out << helpText() << Qt::flush;
        return 0;
    case CommandLine::Action::Version:
        out << programName() << ' ' << QStringLiteral(COOP_VERSION) << '\n' << Qt::flush;
        return 0;
    case CommandLine::Action::Refused:
        err << programName() << ": " << line.refusal << '\n' << usageLine() << '\n' << Qt::flush;
        return ExitUsage;
    case CommandLine::Action::Command:
        break;
    }
    try {
        const int status = line.command->run(line, out);
        out << Qt::flush;
        return status;
    } catch (const std::exception &error) {
        out << Qt::flush;
        const auto *ours = dynamic_cast<const Error *>(&error);
        err << programName() << ": " << (ours ? ours->text() : QString::fromLocal8Bit(error.what())) << '\n' << Qt::flush;
        return ExitFailure;
    }
}

} // namespace coop
