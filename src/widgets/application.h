#pragma once

#include <QApplication>

#include <functional>

namespace coop {

// The application object. Handlers run through the error path below (runHandler, onEvent), so no
// error should reach it; one that does all the same is logged as a fault of the program, shown in
// the error box, and the program goes on in its event loop.
class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

// The application's title: the program file's name up to its first ".", every character after the
// first in lower case ("myrolan" stays "myrolan", "MYROLAN.EXE" gives "Myrolan"). It captions the
// error box and the plain messages.
QString applicationTitle();
QString applicationTitleOf(const QString &programFile);

// The error's text as the error box shows it: a full stop is appended when the last character
// comes after "." in character code order (letters and digits do; ".", "!" and ")" do not).
QString errorBoxText(const QString &text);

// Shows the application's error box: the application title, the error icon, the text with the
// full-stop rule.
void showErrorBox(const QString &text);

// The one error path of every handler: runs it, and an error it lets out is shown in the error box
// and its remaining steps are skipped. Returns false when it failed.
bool runHandler(const std::function<void()> &handler);

// Whether a handler is running (runHandler, or a HandlerScope): a query's AfterScroll handler run
// inside one lets its error go on to it, as a step of its own would.
bool handlerRunning();

// Work that is not an event's handler but that, like one, stops at the first error: the errors of
// the query handlers it runs go on to its caller. Screens are created at start-up inside one.
class HandlerScope
{
public:
    HandlerScope();
    ~HandlerScope();
    HandlerScope(const HandlerScope &) = delete;
    HandlerScope &operator=(const HandlerScope &) = delete;
};

} // namespace coop
