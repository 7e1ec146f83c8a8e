#pragma once

#include <QChar>
#include <QString>

// Key filters of the numeric edit fields. Each sees a typed character and the field's whole current
// text, and answers the character to let through (possibly replaced) or a null QChar to drop it.
// Cursor keys and Delete are not characters and never reach them.
namespace coop {

inline constexpr QChar Backspace = QChar(8);

// "0" to "9" and backspace.
QChar DigitsOnlyFilter(QChar typed, const QString &currentText);
// Digits, backspace and one "," in the whole text (a selection is not taken into account).
QChar CommaDecimalFilter(QChar typed, const QString &currentText);
// Digits, backspace and one "."; a typed "," becomes ".".
QChar PointDecimalFilter(QChar typed, const QString &currentText);

using KeyFilter = QChar (*)(QChar, const QString &);

} // namespace coop
