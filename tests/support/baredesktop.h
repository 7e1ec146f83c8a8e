#pragma once

#include "screens/gridexport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// A desktop of the test's own, for the real xdg-mime and opener: no application for any type but
// what the test registers, and a temporary folder of its own to see what the export leaves there.
class BareDesktop
{
public:
    BareDesktop()
    {
        for (const char *name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "TMPDIR",
                                 "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID"}) {
            m_saved.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
            qunsetenv(name);
        }
        for (const char *dir : {"data/applications", "config", "none", "tmp"})
            QDir().mkpath(m_home.filePath(QLatin1String(dir)));
        setPath("XDG_DATA_HOME", "data");
        setPath("XDG_DATA_DIRS", "none");
        setPath("XDG_CONFIG_HOME", "config");
        setPath("XDG_CONFIG_DIRS", "none");
        setPath("TMPDIR", "tmp");
    }
    ~BareDesktop()
    {
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
            it.value() ? qputenv(it.key(), *it.value()) : qunsetenv(it.key());
    }

    // An application for workbooks, the desktop's default for them.
    void registerSpreadsheetApplication()
    {
        QFile desktop(m_home.filePath(QStringLiteral("data/applications/coop-sheet.desktop")));
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Sheet\nExec=/bin/true %f\nMimeType=%1;\n")
                          .arg(QLatin1String(coop::WorkbookType)).toUtf8());
        QFile list(m_home.filePath(QStringLiteral("config/mimeapps.list")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(QStringLiteral("[Default Applications]\n%1=coop-sheet.desktop\n").arg(QLatin1String(coop::WorkbookType)).toUtf8());
    }

    QStringList leftInTemp() const { return QDir(m_home.filePath(QStringLiteral("tmp"))).entryList(QDir::Files | QDir::NoDotAndDotDot); }

private:
    void setPath(const char *name, const char *dir) { qputenv(name, QFile::encodeName(m_home.filePath(QLatin1String(dir)))); }

    QTemporaryDir m_home;
    QMap<QByteArray, std::optional<QByteArray>> m_saved;
};

