#pragma once

#include <QComboBox>
#include <QStringList>

namespace coop {

// A combo box that chooses a catalog row: beside its entries it keeps the rows' Id values as
// decimal text, entry for entry. The chosen id is the list element at the selected index.
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
    QStringList m_ids;
};

} // namespace coop
