#pragma once

#include "data/database.h"
#include "widgets/idcombobox.h"

#include <QRegularExpression>
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

// The statements of the stock journal, as a posting or a transfer sends them around its own: whether
// there is a journal and when the document last moved stock (before the transaction), then the
// quantities after the changes and the journal rows (before COMMIT).
inline const QString JournalExists =
    QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = 'ruhtovariv'");
inline QString journalLastMove(int document, const QString &kind)
{
    return QStringLiteral("SELECT MAX(Moment) FROM ruhtovariv WHERE IdDokumenta = %1 AND VydDokumenta = '%2'").arg(document).arg(kind);
}
inline QString journalInsert(const QStringList &rows)
{
    return QStringLiteral("INSERT INTO ruhtovariv (Moment, Korystuvach, VydDokumenta, IdDokumenta, IdTovary, IdMagazuny, Kilkist, "
                          "Zalyshok, Komanda) VALUES ")
           + rows.join(u',');
}
// The log with every command's token (Komanda) written as <command>.
inline QStringList maskedTokens(QStringList log)
{
    static const QRegularExpression token(QStringLiteral("'[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}'"));
    for (QString &statement : log)
        statement.replace(token, QStringLiteral("<command>"));
    return log;
}
