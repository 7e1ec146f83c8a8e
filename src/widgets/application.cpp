#include "application.h"

#include "data/databaseerror.h"
#include "messages.h"

#include <QFileInfo>
#include <QFont>

namespace coop {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationDisplayName(applicationTitle());
    // The screens are laid out for MS Sans Serif; its metric neighbour keeps their captions inside
    // their buttons where the desktop's own sans would be wider.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error &error) {
        qCritical("An error escaped its handler: %s", qPrintable(error.text()));
        showErrorBox(error.text());
    } catch (const std::exception &error) {
        qCritical("An error escaped its handler: %s", error.what());
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

QString applicationTitle()
{
    const QString file = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString stem = file.section(u'.', 0, 0);
    if (stem.isEmpty())
        return stem;
    return stem.left(1).toUpper() + stem.mid(1).toLower();
}

QString errorBoxText(const QString &text)
{
    if (!text.isEmpty() && text.back() > u'.')
        return text + u'.';
    return text;
}

void showErrorBox(const QString &text)
{
    MessageRequest request;
    request.kind = MessageKind::ErrorBox;
    request.caption = applicationTitle();
    request.text = errorBoxText(text);
    request.buttons = MessageButton::Ok;
    request.icon = MessageIcon::Error;
    showMessageRequest(request);
}

namespace {
int runningHandlers = 0;
} // namespace

HandlerScope::HandlerScope() { ++runningHandlers; }
HandlerScope::~HandlerScope() { --runningHandlers; }

bool handlerRunning() { return runningHandlers > 0; }

bool runHandler(const std::function<void()> &handler)
{
    const HandlerScope running;
    try {
        handler();
        return true;
    } catch (const Error &error) {
        showErrorBox(error.text());
    } catch (const std::exception &error) {
        showErrorBox(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

} // namespace coop
