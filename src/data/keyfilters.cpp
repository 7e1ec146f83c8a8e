#include "keyfilters.h"

namespace coop {

namespace {
bool isDigitOrBackspace(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == Backspace;
}
} // namespace

QChar DigitsOnlyFilter(QChar typed, const QString &)
{
    return isDigitOrBackspace(typed) ? typed : QChar();
}

QChar CommaDecimalFilter(QChar typed, const QString &currentText)
{
    if (isDigitOrBackspace(typed))
        return typed;
    if (typed == u',' && !currentText.contains(u','))
        return typed;
    return QChar();
}

QChar PointDecimalFilter(QChar typed, const QString &currentText)
{
    if (isDigitOrBackspace(typed))
        return typed;
    if (typed == u',')
        typed = u'.';
    if (typed == u'.' && !currentText.contains(u'.'))
        return typed;
    return QChar();
}

} // namespace coop
