#pragma once

#include <QLineEdit>

namespace coop {

// An edit field with a fixed edit mask such as "0000-00-00;1;_" (date) or "(000)-000-00-00;1;_"
// (telephone): each "0" takes one digit, the other characters are fixed and belong to the text,
// an unfilled position shows "_" while the text holds a blank there. Typing overwrites and skips
// the fixed characters. Leaving the field after changing it while a position is unfilled beeps,
// keeps the focus and shows "Invalid input value.  Use escape key to abandon changes"; Esc restores
// the text the field had before editing.
class MaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit MaskEdit(QWidget *parent = nullptr);

    // Mask, ";", whether the fixed characters belong to the text ("1"), ";", the blank shown.
    void setEditMask(const QString &mask);
    QString editMask() const { return m_mask; }

    // The field's text with a blank in every unfilled position. These hide QLineEdit's own, which
    // would hold the displayed "_" instead; the screens always use them through MaskEdit.
    QString text() const { return m_text; }
    void setText(const QString &text);
    void clear() { setText(QString()); }

    bool isComplete() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool editable(int position) const;
    int nextEditable(int from) const;
    int previousEditable(int before) const;
    void typeDigit(QChar digit);
    void blankSelection();
    void paste();
    void show(int cursor);

    QString m_mask;
    QString m_template; // per position: '0' for a digit, else the fixed character
    QChar m_blank = u'_';
    QString m_text;
    QString m_textOnEntry;
    bool m_returningFocus = false;
};

} // namespace coop
