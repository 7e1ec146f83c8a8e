#include "popupclose.h"

#include <QEvent>
#include <QWidget>

namespace coop {

namespace {

class PopupCloseWatch : public QObject
{
public:
    PopupCloseWatch(QWidget *popup, QObject *owner, std::function<void()> closed)
        : QObject(owner), m_popup(popup), m_closed(std::move(closed))
    {
        m_popup->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_popup && event->type() == QEvent::Hide)
            m_closed();
        return false;
    }

private:
    QWidget *m_popup;
    std::function<void()> m_closed;
};

} // namespace

void watchPopupClose(QWidget *popup, QObject *owner, std::function<void()> closed)
{
    new PopupCloseWatch(popup, owner, std::move(closed));
}

} // namespace coop
