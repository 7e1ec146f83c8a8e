#pragma once

#include "data/database.h"
#include "widgets/idcombobox.h"

#include <QStringList>

// What the screen tests do again and again: pick a combo box entry by its id, and take the
// statements that changed something from the connection's log.

inline void choose(coop::IdComboBox *combo, const QString &id)
{
    combo->setCurrentIndex(int(combo->idList().indexOf(id)));
}

// The statements sent since the last call, without the SELECTs that fill lists and reload grids.
inline QStringList takeWrites(coop::Database &connection)
{
    QStringList out;
    for (const QString &statement : connection.statementLog())
        if (!statement.startsWith(u"Select", Qt::CaseInsensitive))
            out << statement;
    connection.clearStatementLog();
    return out;
}
