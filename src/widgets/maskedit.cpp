#include "maskedit.h"

#include "application.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>

namespace coop {

namespace {

constexpr auto IncompleteText = "Invalid input value.  Use escape key to abandon changes";

// Focus changes that mean the user left the field, rather than another window taking the focus.
bool userLeft(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason
        || reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
}

} // namespace

MaskEdit::MaskEdit(QWidget *parent) : QLineEdit(parent)
{
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

void MaskEdit::setEditMask(const QString &mask)
{
    m_mask = mask;
    const QStringList parts = mask.split(u';');
    m_template = parts.value(0);
    m_blank = parts.value(2).isEmpty() ? QChar(u'_') : parts.value(2).at(0);
    setMaxLength(int(m_template.size()));
    setText(QString());
}

bool MaskEdit::editable(int position) const
{
    return position >= 0 && position < m_template.size() && m_template.at(position) == u'0';
}

int MaskEdit::nextEditable(int from) const
{
    for (int i = from; i < m_template.size(); ++i)
        if (editable(i))
            return i;
    return -1;
}

int MaskEdit::previousEditable(int before) const
{
    for (int i = before - 1; i >= 0; --i)
        if (editable(i))
            return i;
    return -1;
}

void MaskEdit::setText(const QString &text)
{
    m_text = m_template;
    for (int i = 0; i < m_template.size(); ++i)
        if (editable(i))
            m_text[i] = i < text.size() && text.at(i).isDigit() ? text.at(i) : QChar(u' ');
    m_textOnEntry = m_text;
    show(0);
}

bool MaskEdit::isComplete() const
{
    for (int i = 0; i < m_template.size(); ++i)
        if (editable(i) && !m_text.at(i).isDigit())
            return false;
    return true;
}

void MaskEdit::show(int cursor)
{
    QString shown = m_text;
    for (int i = 0; i < shown.size(); ++i)
        if (editable(i) && shown.at(i) == u' ')
            shown[i] = m_blank;
    QLineEdit::setText(shown);
    setCursorPosition(cursor);
}

void MaskEdit::blankSelection()
{
    const int start = selectionStart();
    const int end = start + int(selectedText().size());
    for (int i = start; i < end; ++i)
        if (editable(i))
            m_text[i] = u' ';
    show(start);
}

void MaskEdit::typeDigit(QChar digit)
{
    if (hasSelectedText())
        blankSelection();
    const int at = nextEditable(cursorPosition());
    if (at < 0) {
        QApplication::beep();
        return;
    }
    m_text[at] = digit;
    const int next = nextEditable(at + 1);
    show(next < 0 ? at + 1 : next);
}

void MaskEdit::paste()
{
    const QString pasted = QApplication::clipboard()->text();
    for (QChar c : pasted)
        if (c.isDigit())
            typeDigit(c);
}

void MaskEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (m_text == m_textOnEntry) {
            event->ignore(); // unchanged: Esc belongs to the window
            return;
        }
        m_text = m_textOnEntry;
        show(0);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        copy();
        blankSelection();
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return;
    if (event->key() == Qt::Key_Backspace) {
        if (hasSelectedText()) {
            blankSelection();
        } else if (const int at = previousEditable(cursorPosition()); at >= 0) {
            m_text[at] = u' ';
            show(at);
        } else {
            setCursorPosition(0);
        }
        return;
    }
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        if (hasSelectedText()) {
            blankSelection();
        } else if (const int at = nextEditable(cursorPosition()); at >= 0) {
            m_text[at] = u' ';
            show(cursorPosition());
        }
        return;
    }
    const QString typed = event->text();
    const bool control = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!control && typed.size() == 1 && typed.at(0).isPrint()) {
        if (typed.at(0).isDigit())
            typeDigit(typed.at(0));
        else
            QApplication::beep();
        return;
    }
    // Cursor movement, selection, copy, Tab and Enter behave as in any edit field.
    QLineEdit::keyPressEvent(event);
}

void MaskEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (userLeft(event->reason()) && !m_returningFocus)
        m_textOnEntry = m_text;
}

void MaskEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!userLeft(event->reason()) || m_returningFocus || m_text == m_textOnEntry || isComplete())
        return;
    QApplication::beep();
    m_returningFocus = true;
    setFocus(Qt::OtherFocusReason);
    m_returningFocus = false;
    showErrorBox(QString::fromLatin1(IncompleteText));
}

} // namespace coop
