#include "admin/commandline.h"
#include "app/program.h"
#include "widgets/application.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    const coop::CommandLine line = coop::parseCommandLine(coop::argumentsOf(argc, argv));
    if (line.action != coop::CommandLine::Action::Program) {
        // --help, --version and the administrator's options never open a window: no display needed.
        QCoreApplication application(argc, argv);
        return coop::runCommandLine(line);
    }
    coop::Application application(argc, argv);
    return coop::runProgram();
}
