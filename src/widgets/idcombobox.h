#pragma once

#include <QComboBox>
#include <QStringList>

namespace coop {

// A combo box that chooses a catalog row: beside its entries it keeps the rows' Id values as
// decimal text, entry for entry. The chosen id is the list element at the selected index.
//
// Chosen by keyboard: the first letters typed complete the text to the first entry they begin
// (any case), and a text that spells an entry selects it; Down and Up move to the next and the
// previous entry without opening the list.
class IdComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit IdComboBox(QWidget *parent = nullptr);

    QStringList &idList() { return m_ids; }
    const QStringList &idList() const { return m_ids; }
    // Raises "List index out of bounds (<index>)" when no entry with an id is selected.
    QString selectedId() const;
    // Empties the entries and the id list together.
    void clearAll();

private:
    void selectTypedEntry(const QString &text);

    QStringList m_ids;
};

} // namespace coop
