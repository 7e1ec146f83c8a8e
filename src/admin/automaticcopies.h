#pragma once

#include "databasecopy.h"

#include <QDateTime>
#include <QStringList>

namespace coop {

// The automatic copies of the internal server's database, in the backups/ folder of its data home,
// named by the local time they were taken (myrolan-2026-12-10-174501.sql.gz): one a day at most,
// the newest seven kept. Other files in the folder are left alone.
class AutomaticCopies
{
public:
    static constexpr int Kept = 7;

    explicit AutomaticCopies(const QString &dataHome);
    QString folder() const { return m_folder; }
    // The copies there, oldest first.
    QStringList existing() const;
    // No copy yet, or the newest is more than a day old.
    bool due(const QDateTime &now) const;
    QString fileFor(const QDateTime &now) const;
    // Removes all but the newest Kept.
    void prune() const;

    // Writes the copy when one is due, then prunes. Answers the file written, empty when none was due.
    QString writeIfDue(const ConnectTarget &target, const QDateTime &now, const CopyProgress &progress = {}) const;

private:
    QDateTime takenAt(const QString &fileName) const;
    QString m_folder;
};

} // namespace coop
