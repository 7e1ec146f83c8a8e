#include "screen.h"

#include "application.h"
#include "data/databaseerror.h"
#include "data/query.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <algorithm>
#include <utility>
#include <vector>

namespace coop {

namespace {

// Open screens, bottom to top.
std::vector<QPointer<Screen>> &openScreens()
{
    static std::vector<QPointer<Screen>> screens;
    return screens;
}

void forget(Screen *screen)
{
    auto &screens = openScreens();
    screens.erase(std::remove_if(screens.begin(), screens.end(),
                                 [screen](const QPointer<Screen> &open) { return open.isNull() || open == screen; }),
                  screens.end());
}

ShowModalFunction &currentShowModal()
{
    static ShowModalFunction function;
    return function;
}

// Which windows give the focus back to the screen that opened them in a way that runs its
// activation handler again: dialogs, previews, the chart and plain messages do; a screen's message
// boxes and the error box do not.
bool reactivatesOpener(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Plain: return true;
    case MessageKind::Box:
    case MessageKind::ErrorBox: return false;
    }
    return false;
}

void giveFocusBack(Screen *opener)
{
    if (opener && opener->isVisible() && Screen::activeScreen() == opener)
        opener->activate();
}

} // namespace

Screen::Screen(QWidget *parent) : QDialog(parent) {}

Screen::~Screen() { forget(this); }

Query *Screen::makeQuery(Database &database, const char *name)
{
    auto *query = new Query(database, this);
    query->setObjectName(QLatin1String(name));
    return query;
}

void Screen::create()
{
    const HandlerScope creating;
    for (Query *query : storedOpenQueries())
        query->open();
    FormCreate();
}

void Screen::activate()
{
    runHandler([this] { FormActivate(); });
}

Screen *Screen::activeScreen()
{
    auto &screens = openScreens();
    for (auto it = screens.rbegin(); it != screens.rend(); ++it)
        if (!it->isNull() && (*it)->isVisible())
            return it->data();
    return nullptr;
}

void Screen::dialogClosed(Screen *opener) { giveFocusBack(opener); }

void Screen::messageClosed(Screen *opener, MessageKind kind)
{
    if (reactivatesOpener(kind))
        giveFocusBack(opener);
}

void Screen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Esc means the cancel button and nothing else: without an enabled one it does nothing.
        if (m_cancelButton && m_cancelButton->isEnabled() && m_cancelButton->isVisible())
            m_cancelButton->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Screen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    placeOnFirstShow();
    forget(this);
    openScreens().emplace_back(this);
    activate();
}

void Screen::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        forget(this);
}

void Screen::placeOnFirstShow()
{
    if (std::exchange(m_placed, true))
        return;
    setFixedSize(size());
    centreOnScreen(*this);
    nameEntriesAfterLabels(*this);
}

int showModal(QDialog &dialog)
{
    if (dialog.isVisible())
        throw Error(QStringLiteral("Cannot make a visible window modal"));
    QPointer<Screen> opener = Screen::activeScreen();
    QObject::connect(
        &dialog, &QDialog::finished, &dialog, [opener] { Screen::dialogClosed(opener); },
        Qt::SingleShotConnection);
    dialog.setWindowModality(Qt::ApplicationModal);
    if (currentShowModal())
        return currentShowModal()(dialog);
    return dialog.exec();
}

ShowModalFunction setShowModalFunction(ShowModalFunction function)
{
    return std::exchange(currentShowModal(), std::move(function));
}

void centreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    window.move(available.center() - QPoint(window.width() / 2, window.height() / 2));
}

void nameEntriesAfterLabels(QWidget &root)
{
    for (QLabel *label : root.findChildren<QLabel *>()) {
        QWidget *entry = label->buddy();
        if (entry && entry->accessibleName().isEmpty())
            entry->setAccessibleName(QString(label->text()).remove(u'&'));
    }
}

void focusFirstEntry(QWidget &panel)
{
    QWidget *window = panel.window();
    for (QWidget *next = window->nextInFocusChain(); next && next != window; next = next->nextInFocusChain()) {
        if (panel.isAncestorOf(next) && next->isEnabled() && next->isVisibleTo(window) && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace coop
