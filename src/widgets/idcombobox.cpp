#include "idcombobox.h"

#include "data/databaseerror.h"

#include <QLineEdit>

namespace coop {

IdComboBox::IdComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::editTextChanged, this, &IdComboBox::selectTypedEntry);
}

// The list's own completion only fills in the text; the entry it names becomes the selected one
// here, so that what the clerk typed is what the statement's id stands for. Typed in another case,
// the entry's own spelling is shown, the cursor and the completed part staying where they were so
// that typing goes on. An entry already selected under the same text (two goods of one name) stays
// selected.
void IdComboBox::selectTypedEntry(const QString &text)
{
    if (text.isEmpty() || itemText(currentIndex()) == text)
        return;
    const int index = findText(text, Qt::MatchFixedString);
    if (index < 0)
        return;
    QLineEdit *edit = lineEdit();
    const int cursor = edit ? edit->cursorPosition() : 0;
    const int selectionStart = edit ? edit->selectionStart() : -1;
    const int selectionLength = edit ? int(edit->selectedText().size()) : 0;
    setCurrentIndex(index);
    if (!edit || edit->text().size() != text.size())
        return;
    if (selectionStart >= 0 && selectionLength > 0)
        edit->setSelection(selectionStart, selectionLength);
    else
        edit->setCursorPosition(cursor);
}

QString IdComboBox::selectedId() const
{
    const int index = currentIndex();
    if (index < 0 || index >= m_ids.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_ids.at(index);
}

void IdComboBox::clearAll()
{
    clear();
    m_ids.clear();
}

} // namespace coop
