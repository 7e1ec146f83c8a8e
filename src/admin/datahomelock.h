#pragma once

#include <QString>

namespace coop {

// Who is using the internal server's data directory. The program and the copies written from it hold
// it shared (any number of them at once); a restore holds it alone, so that it never replaces the
// database under a running program. An flock(2) on a file in the data home: the kernel releases it
// when its holder ends, however it ends.
class DataHomeLock
{
public:
    enum class Mode { Shared, Exclusive };
    // Does not wait: isHeld() answers false when the other mode holds it.
    DataHomeLock(const QString &dataHome, Mode mode);
    ~DataHomeLock();
    DataHomeLock(const DataHomeLock &) = delete;
    DataHomeLock &operator=(const DataHomeLock &) = delete;

    bool isHeld() const { return m_held; }

private:
    int m_fd = -1;
    bool m_held = false;
};

} // namespace coop
