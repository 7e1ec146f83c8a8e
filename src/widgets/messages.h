#pragma once

#include <QDateTime>
#include <QFlags>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace coop {

// The results a window or a message box closes with, numbered as the screens compare them.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class MessageButton { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8, Abort = 0x10, Retry = 0x20, Ignore = 0x40 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

enum class MessageIcon { None, Information, Exclamation, Error, Question };

// A screen's message box, a plain message, or the application's error box. Which of them give the
// focus back to a screen in a way that runs its activation handler is decided in screen.cpp.
enum class MessageKind { Box, Plain, ErrorBox };

struct MessageRequest
{
    MessageKind kind = MessageKind::Box;
    QString caption;
    QString text;
    MessageButtons buttons = MessageButton::Ok;
    MessageIcon icon = MessageIcon::None;
    std::optional<MessageButton> defaultButton; // the box's own choice when none
};

// Shows a message and answers the button pressed (a ModalResult). Tests put their own in place to
// read and answer every message without a human.
using MessageFunction = std::function<int(const MessageRequest &)>;
// Installs a message function; returns the one it replaces. An empty function restores the boxes.
MessageFunction setMessageFunction(MessageFunction function);

int showMessageRequest(const MessageRequest &request);

// A message box with the screen's caption, text, buttons and icon.
int messageBox(const QString &caption, const QString &text, MessageButtons buttons, MessageIcon icon,
               std::optional<MessageButton> defaultButton = std::nullopt);
// A plain message: the application title as caption, an OK button, no icon.
void showMessage(const QString &text);

// Asks before something already done is done again: "Увага!!!", Yes and No, the question icon, No as
// the default; `question` gets the date and time it was done as %1. True at once when it never was,
// else true for Yes.
bool confirmAgain(const std::optional<QDateTime> &doneAt, const QString &question);

} // namespace coop
