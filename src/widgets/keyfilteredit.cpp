#include "keyfilteredit.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace coop {

namespace {

class KeyFilterAttachment : public QObject
{
public:
    KeyFilterAttachment(QLineEdit *edit, KeyFilter filter) : QObject(edit), m_edit(edit), m_filter(filter)
    {
        // Text that arrives without keys (pasted, dropped) passes the same filter, character by character.
        connect(edit, &QLineEdit::textEdited, this, &KeyFilterAttachment::refilter);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_edit || event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QChar typed = key->key() == Qt::Key_Backspace ? Backspace
                            : key->text().size() == 1     ? key->text().at(0)
                                                           : QChar();
        if (typed.isNull() || (typed != Backspace && !typed.isPrint()))
            return false;
        const QChar answer = m_filter(typed, m_edit->text());
        if (answer.isNull())
            return true;
        if (answer == typed)
            return false;
        if (answer == Backspace)
            m_edit->backspace();
        else
            m_edit->insert(QString(answer));
        return true;
    }

private:
    void refilter(const QString &text)
    {
        QString kept;
        for (QChar c : text) {
            const QChar answer = m_filter(c, kept);
            if (!answer.isNull() && answer != Backspace)
                kept += answer;
        }
        if (kept != text)
            m_edit->setText(kept);
    }

    QLineEdit *m_edit;
    KeyFilter m_filter;
};

} // namespace

void attachKeyFilter(QLineEdit *edit, KeyFilter filter)
{
    edit->installEventFilter(new KeyFilterAttachment(edit, filter));
}

} // namespace coop
