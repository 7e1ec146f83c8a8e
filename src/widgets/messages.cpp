#include "messages.h"

#include "application.h"
#include "data/format.h"
#include "screen.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace coop {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order the system shows them, each with the result it gives.
struct ButtonRole
{
    MessageButton button;
    QMessageBox::StandardButton standard;
    ModalResult result;
};
constexpr ButtonRole ButtonRoles[] = {
    {MessageButton::Yes, QMessageBox::Yes, mrYes},         {MessageButton::No, QMessageBox::No, mrNo},
    {MessageButton::Ok, QMessageBox::Ok, mrOk},            {MessageButton::Cancel, QMessageBox::Cancel, mrCancel},
    {MessageButton::Abort, QMessageBox::Abort, mrAbort},   {MessageButton::Retry, QMessageBox::Retry, mrRetry},
    {MessageButton::Ignore, QMessageBox::Ignore, mrIgnore},
};

int showQMessageBox(const MessageRequest &request)
{
    QMessageBox box(boxIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow());
    for (const ButtonRole &role : ButtonRoles)
        if (request.buttons.testFlag(role.button)) {
            box.addButton(role.standard);
            if (request.defaultButton == role.button)
                box.setDefaultButton(role.standard);
        }
    const auto pressed = QMessageBox::StandardButton(box.exec());
    for (const ButtonRole &role : ButtonRoles)
        if (role.standard == pressed)
            return role.result;
    // Closed through the title bar: the box's escape button, or Cancel.
    return request.buttons.testFlag(MessageButton::No) ? mrNo : mrCancel;
}

MessageFunction &currentFunction()
{
    static MessageFunction function;
    return function;
}

} // namespace

MessageFunction setMessageFunction(MessageFunction function)
{
    return std::exchange(currentFunction(), std::move(function));
}

int showMessageRequest(const MessageRequest &request)
{
    Screen *opener = Screen::activeScreen();
    const int result = currentFunction() ? currentFunction()(request) : showQMessageBox(request);
    Screen::messageClosed(opener, request.kind);
    return result;
}

int messageBox(const QString &caption, const QString &text, MessageButtons buttons, MessageIcon icon,
               std::optional<MessageButton> defaultButton)
{
    MessageRequest request;
    request.kind = MessageKind::Box;
    request.caption = caption;
    request.text = text;
    request.buttons = buttons;
    request.icon = icon;
    request.defaultButton = defaultButton;
    return showMessageRequest(request);
}

void showMessage(const QString &text)
{
    MessageRequest request;
    request.kind = MessageKind::Plain;
    request.caption = applicationTitle();
    request.text = text;
    request.buttons = MessageButton::Ok;
    request.icon = MessageIcon::None;
    showMessageRequest(request);
}

bool confirmAgain(const std::optional<QDateTime> &doneAt, const QString &question)
{
    if (!doneAt)
        return true;
    const QString when = LocaleDateText(doneAt->date()) + doneAt->time().toString(QStringLiteral(" HH:mm:ss"));
    return messageBox(QStringLiteral("Увага!!!"), question.arg(when), MessageButton::Yes | MessageButton::No,
                      MessageIcon::Question, MessageButton::No)
           == mrYes;
}

} // namespace coop
