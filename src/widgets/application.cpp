#include "application.h"

#include "data/databaseerror.h"
#include "messages.h"

#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace coop {

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    // The toolkit speaks Ukrainian: month and day names, standard buttons, the preview's and the
    // printer dialog's texts. The system's own number and date rules (data/format.h) ask no
    // locale, so they stay "," and dd.MM.yyyy whatever the desktop's.
    QLocale::setDefault(QLocale(QLocale::Ukrainian, QLocale::Ukraine));
    auto *qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral("qtbase_uk"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);

    // No display name: the toolkit would append it to every window's title, and each title is the
    // window's caption alone. The task bar names the program after its file.
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
    return applicationTitleOf(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

QString applicationTitleOf(const QString &programFile)
{
    const QString stem = programFile.section(u'.', 0, 0);
    return stem.left(1) + stem.mid(1).toLower();
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
