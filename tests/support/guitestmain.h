#pragma once

#include "widgets/application.h"

#include <QTest>

// Runs a test case under the program's own application object, so that errors a handler lets out
// reach the error box exactly as in the program.
#define COOP_GUI_TEST_MAIN(TestClass)                                                                          \
    int main(int argc, char **argv)                                                                            \
    {                                                                                                          \
        coop::Application application(argc, argv);                                                             \
        TestClass test;                                                                                        \
        return QTest::qExec(&test, argc, argv);                                                                \
    }
