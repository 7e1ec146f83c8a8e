#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

// The clerk's keyboard: keys go to wherever the focus is, and any letter can be typed.

inline QString focusName()
{
    const QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<nothing>");
}

inline void pressTab(int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

inline void pressSpace() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space); }

// Each character as a key press that carries it, on the key of its capital as a keyboard of its
// script reports it: QTest's own clicks know only ASCII, and the catalogs are Ukrainian.
inline void typeKeys(QWidget *widget, const QString &text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
}

inline void typeKeys(const QString &text) { typeKeys(QApplication::focusWidget(), text); }
