#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class QProgressDialog;

namespace coop {

// The progress dialog of work that keeps the clerk waiting (a server being upgraded, the daily
// copy): called again and again while the work goes on, it shows a busy dialog with the text once
// the work has lasted half a second, and keeps the program's windows painted meanwhile. close()
// (or the object's end) ends it; a later call starts the next piece of work.
class LongWork
{
public:
    LongWork();
    ~LongWork();
    LongWork(const LongWork &) = delete;
    LongWork &operator=(const LongWork &) = delete;

    void operator()(const QString &doing);
    void close();

private:
    QElapsedTimer m_clock; // since the work began; invalid between pieces of work
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace coop
