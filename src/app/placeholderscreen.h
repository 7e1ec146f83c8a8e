#pragma once

#include "widgets/screen.h"

#include <QColor>
#include <QObject>
#include <QSize>

namespace coop {

// Stands in for a screen whose own window is not built yet: its instance name, caption, size and
// background colour, and a "Закрити" button, so that every command of the main window opens it.
class PlaceholderScreen : public Screen
{
    Q_OBJECT

public:
    PlaceholderScreen(const QString &instanceName, const QString &caption, QSize size, QColor background);
};

// Stands in for a document layout that is not built yet.
class PlaceholderReport : public QObject
{
    Q_OBJECT

public:
    explicit PlaceholderReport(const QString &instanceName);
};

} // namespace coop
