// Typed numbers and dates, the server's raw date text and the key filters of the numeric fields,
// all over one input: what is read is written back as text that reads the same again and as
// statement text the server reads the same; the key filters never let a text through that breaks
// their rule.

#include "fuzzcheck.h"

#include "data/format.h"
#include "data/keyfilters.h"

#include <QRegularExpression>

#include <cmath>

using namespace coop;

namespace {

void typedNumber(const QString &text)
{
    double value = 0;
    if (!fuzz::raisesOnlyCoopError([&] { value = ReadTypedNumber(text); }))
        return;
    FUZZ_CHECK(std::isfinite(value), text);
    // The field shows the number as locale text; read again it is the number shown.
    const QString shown = LocaleNumberText(value);
    double again = 0;
    FUZZ_CHECK(fuzz::raisesOnlyCoopError([&] { again = ReadTypedNumber(shown); }), text + QStringLiteral(" -> ") + shown);
    FUZZ_CHECK(LocaleNumberText(again) == shown, text + QStringLiteral(" -> ") + shown);
    // A statement carries it as a number the server reads, the same number.
    static const QRegularExpression sqlNumber(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?(E-?[0-9]+)?$"));
    const QString sql = FormatSqlNumber(value);
    FUZZ_CHECK(sqlNumber.match(sql).hasMatch(), sql);
    FUZZ_CHECK(LocaleNumberText(ReadServerNumber(sql.toLatin1().constData())) == shown, sql);
    FUZZ_CHECK(!WholeNumberText(value).isEmpty());
}

void localeDate(const QString &text)
{
    QDate date;
    if (!fuzz::raisesOnlyCoopError([&] { date = ReadLocaleDate(text); }))
        return;
    FUZZ_CHECK(date.isValid(), text);
    const QString shown = LocaleDateText(date);
    QDate again;
    FUZZ_CHECK(fuzz::raisesOnlyCoopError([&] { again = ReadLocaleDate(shown); }), text + QStringLiteral(" -> ") + shown);
    FUZZ_CHECK(again == date, text + QStringLiteral(" -> ") + shown);
    // Written into a statement and read back raw from the server, it is the same day.
    const QByteArray sql = FormatSqlDate(date).toLatin1();
    FUZZ_CHECK(SqlDateJulianDay(sql.constData(), sql.size()) == date.toJulianDay(), QString::fromLatin1(sql));
}

// A raw DATE text is a day only when it is one of the calendar; then it is that day.
void serverDate(const QByteArray &raw)
{
    const qint64 day = SqlDateJulianDay(raw.constData(), raw.size());
    QDate expected;
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    if (const auto match = form.match(QString::fromLatin1(raw)); raw.size() == 10 && match.hasMatch())
        expected = QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    FUZZ_CHECK(day == (expected.isValid() ? expected.toJulianDay() : 0), QString::fromLatin1(raw.toHex()));
}

// Typing the text into a field character by character, a backspace taking the last one away.
void keyFilters(const QString &typed)
{
    const struct
    {
        KeyFilter filter;
        QChar mark; // the one mark the rule lets through once, or none
    } rules[] = {{DigitsOnlyFilter, QChar()}, {CommaDecimalFilter, u','}, {PointDecimalFilter, u'.'}};
    for (const auto &rule : rules) {
        QString field;
        for (QChar c : typed) {
            const QChar passed = rule.filter(c, field);
            if (passed.isNull())
                continue;
            if (passed == Backspace) {
                field.chop(1);
                continue;
            }
            field.append(passed);
        }
        for (QChar c : field)
            FUZZ_CHECK((c >= u'0' && c <= u'9') || (!rule.mark.isNull() && c == rule.mark), field);
        FUZZ_CHECK(rule.mark.isNull() || field.count(rule.mark) <= 1, field);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw = fuzz::bytes(data, size);
    const QString text = QString::fromUtf8(raw);
    typedNumber(text);
    localeDate(text);
    serverDate(raw);
    keyFilters(text);
    (void)ReadServerNumber(raw.constData()); // a QByteArray ends with a NUL
    return 0;
}
