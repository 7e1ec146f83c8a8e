#include "format.h"

#include "databaseerror.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace coop {

namespace {

QString padded(int part)
{
    QString text = QString::number(part);
    while (text.size() < 2)
        text.prepend(u'0');
    return text;
}

// The digits of |value| rounded to 15 significant digits, and the decimal exponent of the first.
struct Digits
{
    QByteArray digits; // without trailing zeros, at least one digit
    int exponent = 0;
};

Digits significantDigits(double magnitude)
{
    char buffer[40];
    // d.dddddddddddddde±XX, with a point whatever the process's locale
    const auto written = std::to_chars(buffer, buffer + sizeof buffer - 1, magnitude, std::chars_format::scientific, 14);
    *written.ptr = '\0';
    Digits result;
    const char *e = std::strchr(buffer, 'e');
    std::from_chars(e + (e[1] == '+' ? 2 : 1), written.ptr, result.exponent);
    for (const char *c = buffer; c < e; ++c)
        if (*c >= '0' && *c <= '9')
            result.digits.append(*c);
    while (result.digits.size() > 1 && result.digits.endsWith('0'))
        result.digits.chop(1);
    return result;
}

} // namespace

QString FormatSqlDate(const QDate &date)
{
    // Four digits of the year whatever it is: the server reads "99-01-04" as 1999.
    return QString::number(date.year()).rightJustified(4, u'0') + u'-' + padded(date.month()) + u'-' + padded(date.day());
}

QString FormatSqlNumber(double value)
{
    QString text = LocaleNumberText(value);
    const qsizetype comma = text.indexOf(DecimalSeparator);
    if (comma >= 0)
        text[comma] = u'.';
    return text;
}

QString QuoteSqlText(const QString &text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString LocaleNumberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    const Digits d = significantDigits(std::fabs(value));
    QString text = value < 0 ? QStringLiteral("-") : QString();
    const QString digits = QString::fromLatin1(d.digits);

    if (d.exponent < -5 || d.exponent >= 15) {
        text += digits.left(1);
        if (digits.size() > 1)
            text += DecimalSeparator + digits.mid(1);
        text += u'E' + QString::number(d.exponent);
        return text;
    }
    if (d.exponent < 0) {
        text += u'0';
        text += DecimalSeparator;
        text += QString(-d.exponent - 1, u'0');
        text += digits;
        return text;
    }
    const int integerDigits = d.exponent + 1;
    if (digits.size() <= integerDigits) {
        text += digits + QString(integerDigits - digits.size(), u'0');
    } else {
        text += digits.left(integerDigits);
        text += DecimalSeparator;
        text += digits.mid(integerDigits);
    }
    return text;
}

double RoundHalfToEven(double value)
{
    if (!std::isfinite(value))
        return value;
    // floor and the subtraction are exact in binary floating point; from 2^52 on every double is
    // whole and the rest is 0.
    const double down = std::floor(value);
    const double rest = value - down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0))
        return down + 1;
    return down == 0 ? 0.0 : down; // no "-0"
}

QString WholeNumberText(double value)
{
    if (!std::isfinite(value))
        return LocaleNumberText(value);
    char digits[320]; // DBL_MAX has 309 digits
    std::snprintf(digits, sizeof digits, "%.0f", value == 0 ? 0.0 : RoundHalfToEven(value));
    return QString::fromLatin1(digits);
}

QString LocaleDateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    return padded(date.day()) + u'.' + padded(date.month()) + u'.' + QString::number(date.year()).rightJustified(4, u'0');
}

double ReadTypedNumber(const QString &text)
{
    // Optional blanks, a sign, digits with at most one "," and an optional exponent.
    const QString trimmed = text.trimmed();
    QByteArray c;
    qsizetype i = 0;
    const auto at = [&](qsizetype k) { return k < trimmed.size() ? trimmed[k] : QChar(); };
    if (at(i) == u'+' || at(i) == u'-')
        c.append(char(trimmed[i++].unicode()));
    int mantissaDigits = 0;
    while (at(i).isDigit() && at(i).unicode() < 128) { c.append(char(trimmed[i++].unicode())); ++mantissaDigits; }
    if (at(i) == DecimalSeparator) {
        c.append('.');
        ++i;
        while (at(i).isDigit() && at(i).unicode() < 128) { c.append(char(trimmed[i++].unicode())); ++mantissaDigits; }
    }
    bool ok = mantissaDigits > 0;
    if (ok && (at(i) == u'e' || at(i) == u'E')) {
        c.append('e');
        ++i;
        if (at(i) == u'+' || at(i) == u'-')
            c.append(char(trimmed[i++].unicode()));
        int exponentDigits = 0;
        while (at(i).isDigit() && at(i).unicode() < 128) { c.append(char(trimmed[i++].unicode())); ++exponentDigits; }
        ok = exponentDigits > 0;
    }
    if (!ok || i != trimmed.size())
        throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    double value = 0;
    const char *begin = c.constData() + (c.startsWith('+') ? 1 : 0);
    const auto read = std::from_chars(begin, c.constData() + c.size(), value);
    // Beyond the largest number of 15 digits, the text it is shown and written in rounds up past
    // the largest double: neither the field nor the server could read it back.
    constexpr double LargestShown = 1.79769313486231e308;
    if (read.ec != std::errc() || !(std::fabs(value) <= LargestShown))
        throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

QDate ReadLocaleDate(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'.');
    // Digits only: toInt alone would take a sign or blanks ("-001", " 5") as part of a number.
    const auto digits = [](const QString &part, qsizetype least, qsizetype most) {
        return part.size() >= least && part.size() <= most
            && std::all_of(part.cbegin(), part.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    QDate date;
    if (parts.size() == 3 && digits(parts[0], 1, 2) && digits(parts[1], 1, 2) && digits(parts[2], 4, 4))
        date = QDate(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
    if (!date.isValid())
        throw Error(QStringLiteral("'%1' is not a valid date").arg(text));
    return date;
}

double ReadServerNumber(const char *text)
{
    double value = 0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

qint64 SqlDateJulianDay(const char *s, qsizetype length)
{
    if (length != 10 || s[4] != '-' || s[7] != '-')
        return 0;
    const auto digit = [s](int i) { return unsigned(s[i] - '0'); };
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (digit(i) > 9)
            return 0;
    const int year = int(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3));
    const int month = int(digit(5) * 10 + digit(6));
    const int day = int(digit(8) * 10 + digit(9));
    // A day of the calendar only: no year 0 (QDate has none), no 31 February.
    if (!QDate::isValid(year, month, day))
        return 0;
    // Fliegel–Van Flandern: a Julian day number without building a QDate for every row.
    const int a = (14 - month) / 12;
    const int y = year + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365LL * y + y / 4 - y / 100 + y / 400 - 32045;
}

} // namespace coop
