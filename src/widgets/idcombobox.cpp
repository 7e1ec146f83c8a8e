#include "idcombobox.h"

#include "data/databaseerror.h"

namespace coop {

IdComboBox::IdComboBox(QWidget *parent) : QComboBox(parent) {}

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
