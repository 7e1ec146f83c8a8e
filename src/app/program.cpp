#include "program.h"

#include "data/database.h"
#include "data/databaseerror.h"
#include "exitcopy.h"
#include "exitsignals.h"
#include "form1.h"
#include "widgets/application.h"
#include "widgets/messages.h"
#include "windowregistry.h"

#include <QApplication>
#include <QTextStream>

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
    std::unique_ptr<DataHomeLock> dataInUse;
    try {
        dataInUse = useInternalData();
    } catch (const Error &error) {
        reportStartUpFailure(error.text());
        return 1;
    }
    const std::unique_ptr<WindowRegistry> windows = startUp();
    if (!windows)
        return 1;
    const int status = QApplication::exec();
    writeAutomaticCopy(windows->form1().Database1);
    return status;
}

} // namespace coop
