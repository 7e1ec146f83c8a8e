#include "keyfilteredit.h"

#include "data/databaseerror.h"
#include "data/format.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace coop {

namespace {

class KeyFilterAttachment : public QObject
{
public:
    KeyFilterAttachment(QLineEdit *edit, KeyFilter filter) : QObject(edit), m_edit(edit), m_filter(filter)
    {
        connect(edit, &QLineEdit::textChanged, this, &KeyFilterAttachment::textChanged);
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
    // Every change of the text is seen, however it came. One the clerk made without keys (pasted,
    // dropped) passes the filter character by character, as if typed. Any other (a value set
    // through the accessibility interface, by assistive tools or robots, or by the program) stands
    // only if the filter lets it through whole, or if it is a number of no sign as the system shows
    // a stored value (a quantity counted elsewhere as 2,5, so that editing another field of its row
    // does not rewrite it); otherwise the field is emptied: "-5" never gets in, and an empty field
    // is refused by the entry check rather than written with a value nobody gave it.
    void textChanged(const QString &text)
    {
        if (m_edit->isModified())
            refilter(text);
        else if (!passesWhole(text) && !isStoredNumber(text))
            m_edit->clear();
    }

    bool passesWhole(const QString &text) const
    {
        QString kept;
        for (QChar c : text) {
            if (m_filter(c, kept) != c)
                return false;
            kept += c;
        }
        return true;
    }

    static bool isStoredNumber(const QString &text)
    {
        if (text.isEmpty() || !(text.front().isDigit()))
            return false;
        try {
            return ReadTypedNumber(text) >= 0;
        } catch (const Error &) {
            return false;
        }
    }

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
