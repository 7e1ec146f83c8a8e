#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <span>

namespace coop {

struct CommandLine;

// One administrator's option: it runs without a window (QCoreApplication only, no display) and
// answers the exit status. A new option of this kind is one more entry in adminCommands().
struct AdminCommand
{
    const char *option;   // "--backup"
    const char *argument; // the name of its one argument in the usage ("FILE"), or nullptr
    const char *modifier; // the one flag it also accepts ("--force"), or nullptr
    const char *help;     // one line of --help
    int (*run)(const CommandLine &line, QTextStream &out);
};

std::span<const AdminCommand> adminCommands();

// What the program was asked to do.
struct CommandLine
{
    enum class Action { Program, Help, Version, Command, Refused };
    Action action = Action::Program;
    const AdminCommand *command = nullptr;
    QString file;       // the command's argument
    bool force = false; // its modifier was given
    QString refusal;    // why the arguments were refused
};

// The arguments after the program's name. No argument: the clerk's program with its windows.
CommandLine parseCommandLine(const QStringList &arguments);
QStringList argumentsOf(int argc, char **argv);

QString usageLine();
QString helpText();

// Exit statuses of the command line.
inline constexpr int ExitFailure = 1; // the command failed; its reason is on standard error
inline constexpr int ExitUsage = 2;   // the arguments were refused

// Runs what the command line asks for, everything but the program itself: prints the help or the
// version, refuses bad arguments with the usage line, or runs an administrator's command, its
// failure reported on standard error. Needs a QCoreApplication and no display.
int runCommandLine(const CommandLine &line);

} // namespace coop
