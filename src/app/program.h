#pragma once

#include <memory>

namespace coop {

class WindowRegistry;

// Start-up: creates every window of the system in its fixed order (the connection opens with the
// main window) and shows the main window. When the connection or a stored-open query fails, shows
// one "Application Error" box with the engine's text and answers null; no window is shown then.
std::unique_ptr<WindowRegistry> startUp();

// The program: start-up, the event loop until the main window closes, then every window destroyed
// (the main window last, which closes the connection). Answers the exit code: 1 after a failed
// start-up.
int runProgram();

// myrolan --check-stock: compares every base and shop quantity with the stock journal on the data
// source the program would use (an internal server is started for it and stopped after), prints
// the mismatches and the counts, and answers the exit status. No window is created.
int runStockCheck(int &argc, char **argv);

} // namespace coop
