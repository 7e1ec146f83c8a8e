#include "app/program.h"
#include "widgets/application.h"

int main(int argc, char **argv)
{
    coop::Application application(argc, argv);
    return coop::runProgram();
}
