#include "program.h"

#include "data/databaseerror.h"
#include "exitsignals.h"
#include "form1.h"
#include "widgets/application.h"
#include "widgets/messages.h"
#include "windowregistry.h"

#include <QApplication>

namespace coop {

namespace {

void reportStartUpFailure(const QString &text)
{
    MessageRequest request;
    request.kind = MessageKind::ErrorBox;
    request.caption = QStringLiteral("Application Error");
    request.text = errorBoxText(text);
    request.buttons = MessageButton::Ok;
    request.icon = MessageIcon::Error;
    showMessageRequest(request);
}

} // namespace

std::unique_ptr<WindowRegistry> startUp()
{
    std::unique_ptr<WindowRegistry> windows;
    try {
        windows = std::make_unique<WindowRegistry>();
    } catch (const Error &error) {
        reportStartUpFailure(error.text());
        return nullptr;
    } catch (const std::exception &error) {
        reportStartUpFailure(QString::fromLocal8Bit(error.what()));
        return nullptr;
    }
    windows->form1().show();
    return windows;
}

int runProgram()
{
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("myrolan"));
    // Before the windows, so that it outlives them: a second signal while the server is being
    // shut down at exit is caught and does not cut the shutdown short.
    const ExitSignals exitSignals;
    const std::unique_ptr<WindowRegistry> windows = startUp();
    if (!windows)
        return 1;
    return QApplication::exec();
}

} // namespace coop
