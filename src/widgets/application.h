#pragma once

#include <QApplication>

#include <functional>

namespace coop {

// The application object. Every exception that an event handler lets out ends here: it is shown in
// the application's error box and the program goes on in its event loop.
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

// Runs a handler the way the event loop does: an error it lets out is shown in the error box and
// its remaining steps are skipped. Returns false when it failed.
bool runHandler(const std::function<void()> &handler);

} // namespace coop
