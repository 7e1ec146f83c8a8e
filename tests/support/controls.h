#pragma once

#include "widgets/datetimepicker.h"
#include "widgets/dbgrid.h"
#include "widgets/idcombobox.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>

// A window's control by its object name, as the clerk finds it on the screen: the windows keep
// their generated controls to themselves.
template <class T> T *control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s of that kind", qPrintable(window.objectName()), name);
    return found;
}
