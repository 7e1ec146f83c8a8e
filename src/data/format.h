#pragma once

#include <QDate>
#include <QString>

// How values are written into statements and read back as text. The system fixes its own regional
// settings, whatever the desktop's locale: "," is the decimal mark and dd.MM.yyyy the short date.
namespace coop {

inline constexpr QChar DecimalSeparator = u',';
inline constexpr const char *ShortDateFormat = "dd.MM.yyyy";

// YYYY-MM-DD, the year zero-padded to four digits and the others to two; any time of day is ignored.
QString FormatSqlDate(const QDate &date);
// The locale number text with its first "," replaced by ".".
QString FormatSqlNumber(double value);
// The text between single quotes, every quote inside it doubled. With NO_BACKSLASH_ESCAPES in force
// on every connection this is a complete escape.
QString QuoteSqlText(const QString &text);

// General format: at most 15 significant digits, no grouping, no trailing zeros, "," as the mark;
// exponent form (1E-6, 1,5E20) only below 0.00001 or with more than 15 integer digits.
QString LocaleNumberText(double value);
// The nearest whole number, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4, -2.5
// gives -2), as a double: no integer type is involved, so every magnitude a DOUBLE column holds
// rounds without wrapping. Infinities and NaN come back as they are.
double RoundHalfToEven(double value);
// A whole number as all its decimal digits, with "-" when negative (1e20 gives 21 digits).
QString WholeNumberText(double value);
// dd.MM.yyyy; an invalid date gives the empty text.
QString LocaleDateText(const QDate &date);

// A typed number read with the system's regional settings. Raises
// "'<text>' is not a valid floating point value" for anything else.
double ReadTypedNumber(const QString &text);
// dd.MM.yyyy (one or two digits for day and month). Raises "'<text>' is not a valid date".
QDate ReadLocaleDate(const QString &text);

// A number as the server writes it ("12.5", "-3", "1e16"), read the same whatever the C locale of
// the process says about the decimal mark; 0 for anything else.
double ReadServerNumber(const char *text);

// Raw server text of a DATE column ("YYYY-MM-DD") as a Julian day; 0 when it is not such a text or
// not a day of the calendar (the server's zero dates, year 0, 31 February).
qint64 SqlDateJulianDay(const char *text, qsizetype length);

} // namespace coop
