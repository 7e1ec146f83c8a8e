#include "app/program.h"
#include "widgets/application.h"

#include <cstring>

int main(int argc, char **argv)
{
    // The administrator's balance check opens no window.
    if (argc == 2 && std::strcmp(argv[1], "--check-stock") == 0)
        return coop::runStockCheck(argc, argv);
    coop::Application application(argc, argv);
    return coop::runProgram();
}
