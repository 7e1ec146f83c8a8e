#include "program.h"

#include "data/database.h"
#include "data/databaseerror.h"
#include "data/stockjournal.h"
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
    const std::unique_ptr<WindowRegistry> windows = startUp();
    if (!windows)
        return 1;
    return QApplication::exec();
}

int runStockCheck(int &argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    Database database; // MyDB3 with the start-up user, as the program's own connection
    return checkStock(database, out);
}

} // namespace coop
