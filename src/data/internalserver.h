#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QProcess;

namespace coop {
struct ConnectTarget;
}

namespace coop {

// The program's private MariaDB server, kept per user the way some desktop applications keep
// their own database: data under $XDG_DATA_HOME/<program>/, a socket in a 0700 directory under
// $XDG_RUNTIME_DIR, no networking. The first start creates the data directory, the database with
// the schema and the demo data; later starts reuse it. A server this object started is shut down
// cleanly when the object goes.
class InternalServer
{
public:
    static constexpr const char *RootPassword = "5839";
    static constexpr const char *DatabaseName = "190400";

    struct Location
    {
        QString dataHome;  // holds data/, the generated config, the error log and the pid file
        QString socketDir; // 0700; the socket path must stay under 108 bytes
    };
    // The per-user location of this program.
    static Location defaultLocation();

    // Called again and again, with what is being done, while long work keeps the start waiting
    // (the upgrade after a new server version), so that the program can show it; called with an
    // empty text when that work is over.
    using Progress = std::function<void(const QString &doing)>;

    explicit InternalServer(Location location = defaultLocation(), QStringList extraServerOptions = {});
    ~InternalServer();
    InternalServer(const InternalServer &) = delete;
    InternalServer &operator=(const InternalServer &) = delete;

    // Makes sure the server runs and the database exists. Raises coop::Error with the server's
    // own words (the end of its error log) when it cannot be started.
    void ensureRunning();
    // SHUTDOWN, then terminate, then kill. A server we did not start is left alone.
    void stop();
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Why the upgrade for a new server version failed at this start, with the end of
    // mariadb-upgrade's words; empty when it did not fail. The server runs all the same, and the
    // upgrade is tried again at the next start.
    QString upgradeFailure() const { return m_upgradeFailure; }

    QString socketPath() const;
    QString dataDir() const;
    QString pidFile() const;
    QString errorLog() const;
    bool startedHere() const;
    qint64 serverPid() const; // from the pid file; 0 when there is none

private:
    ConnectTarget administrator(unsigned timeoutSeconds) const;
    bool answers() const;
    void prepareDirectories();
    void writeConfig() const;
    void initialiseDataDirectory();
    void createDatabase();
    void upgradeIfServerChanged();
    void addStockJournal();
    void removeStaleFiles();
    void spawn();
    void waitUntilReady(int timeoutMs);
    QString configFile() const;
    QString logTail() const;

    Location m_location;
    QStringList m_extraOptions;
    std::unique_ptr<QProcess> m_process;
    Progress m_progress;
    QString m_upgradeFailure;
};

} // namespace coop
