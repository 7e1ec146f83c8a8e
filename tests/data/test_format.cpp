// The value rules: how values become SQL text and field text, how typed text is read back, and
// what the key filters let through.
#include "data/databaseerror.h"
#include "data/format.h"
#include "data/keyfilters.h"

#include <QRegularExpression>
#include <QTest>

#include <cfloat>
#include <cmath>

using namespace coop;

class TestFormat : public QObject
{
    Q_OBJECT

private slots:
    void sqlDate_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("5 March 2011") << QDate(2011, 3, 5) << "2011-03-05";
        QTest::newRow("31 December 2011") << QDate(2011, 12, 31) << "2011-12-31";
        QTest::newRow("year 1000") << QDate(1000, 1, 1) << "1000-01-01";
        QTest::newRow("year 9999") << QDate(9999, 9, 9) << "9999-09-09";
    }
    void sqlDate()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(FormatSqlDate(date), text);
    }

    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("sql");
        QTest::newRow("twelve and a half") << 12.5 << "12,5" << "12.5";
        QTest::newRow("three") << 3.0 << "3" << "3";
        QTest::newRow("one tenth") << 0.1 << "0,1" << "0.1";
        QTest::newRow("zero") << 0.0 << "0" << "0";
        QTest::newRow("negative") << -7.25 << "-7,25" << "-7.25";
        QTest::newRow("no grouping") << 1234567.0 << "1234567" << "1234567";
        QTest::newRow("ten-digit taxpayer number") << 3124509876.0 << "3124509876" << "3124509876";
        QTest::newRow("binary noise rounded away") << 0.1 + 0.2 << "0,3" << "0.3";
        QTest::newRow("product of a line") << 3 * 2.55 << "7,65" << "7.65";
        QTest::newRow("fifteen significant digits") << 1.0 / 3 << "0,333333333333333" << "0.333333333333333";
        QTest::newRow("smallest plain") << 0.00001 << "0,00001" << "0.00001";
        QTest::newRow("below 0.00001") << 0.000001 << "1E-6" << "1E-6";
        QTest::newRow("small with fraction") << 0.0000015 << "1,5E-6" << "1.5E-6";
        QTest::newRow("fifteen integer digits") << 999999999999999.0 << "999999999999999" << "999999999999999";
        QTest::newRow("sixteen integer digits") << 1e16 << "1E16" << "1E16";
        QTest::newRow("rounds to sixteen") << 9999999999999999.0 << "1E16" << "1E16";
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, locale);
        QFETCH(QString, sql);
        QCOMPARE(LocaleNumberText(value), locale);
        QCOMPARE(FormatSqlNumber(value), sql);
        // What is written reads back as the same number (up to the 15 digits kept).
        QVERIFY(std::fabs(ReadTypedNumber(locale) - value) <= std::fabs(value) * 1e-14);
    }

    // An integer field's whole number: half to even at every magnitude a DOUBLE holds, never through
    // a 64-bit integer that would wrap round.
    void wholeNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("rounded");
        QTest::addColumn<QString>("text");
        QTest::newRow("7.5 up to the even 8") << 7.5 << 8.0 << "8";
        QTest::newRow("12.5 down to the even 12") << 12.5 << 12.0 << "12";
        QTest::newRow("a half down to 0") << 0.5 << 0.0 << "0";
        QTest::newRow("1.5 up to 2") << 1.5 << 2.0 << "2";
        QTest::newRow("just below a half") << 0.49999999999999994 << 0.0 << "0";
        QTest::newRow("just above a half") << 0.5000000000000001 << 1.0 << "1";
        QTest::newRow("a product of noise") << 3 * 2.55 << 8.0 << "8";
        QTest::newRow("-2.5 to the even -2") << -2.5 << -2.0 << "-2";
        QTest::newRow("-3.5 to the even -4") << -3.5 << -4.0 << "-4";
        QTest::newRow("-0.5 to zero, unsigned") << -0.5 << 0.0 << "0";
        QTest::newRow("-0.4 to zero") << -0.4 << 0.0 << "0";
        QTest::newRow("-7.6") << -7.6 << -8.0 << "-8";
        QTest::newRow("last halves: 2^52 - 0.5") << 4503599627370495.5 << 4503599627370496.0 << "4503599627370496";
        QTest::newRow("2^53 - 1 stays") << 9007199254740991.0 << 9007199254740991.0 << "9007199254740991";
        QTest::newRow("2^63, past qint64") << 9223372036854775808.0 << 9223372036854775808.0 << "9223372036854775808";
        QTest::newRow("-2^63 - 2^11") << -9223372036854777856.0 << -9223372036854777856.0 << "-9223372036854777856";
        QTest::newRow("twenty nines") << 99999999999999999999.0 << 1e20 << "100000000000000000000";
        QTest::newRow("1e300") << 1e300 << 1e300 << QString();
        QTest::newRow("DBL_MAX") << DBL_MAX << DBL_MAX << QString();
        QTest::newRow("-DBL_MAX") << -DBL_MAX << -DBL_MAX << QString();
        QTest::newRow("smallest subnormal") << 4.9406564584124654e-324 << 0.0 << "0";
    }
    void wholeNumbers()
    {
        QFETCH(double, value);
        QFETCH(double, rounded);
        QFETCH(QString, text);
        const double result = RoundHalfToEven(value);
        QCOMPARE(result, rounded);
        QVERIFY(!std::signbit(result) || result < 0); // never "-0"
        const QString digits = WholeNumberText(result);
        if (!text.isEmpty())
            QCOMPARE(digits, text);
        // Every digit is there: the text reads back as the very same number.
        QVERIFY(digits.contains(QRegularExpression(QStringLiteral("^-?[0-9]+$"))));
        QCOMPARE(digits.toDouble(), rounded);
        if (std::fabs(value) >= 1e300)
            QCOMPARE(digits.size(), (value < 0 ? 1 : 0) + (std::fabs(value) == 1e300 ? 301 : 309));
    }

    void quoting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("quoted");
        QTest::newRow("apostrophe") << "O'Brien" << "'O''Brien'";
        QTest::newRow("empty") << "" << "''";
        QTest::newRow("two quotes") << "''" << "''''''";
        QTest::newRow("backslash stays") << "a\\b" << "'a\\b'";
        QTest::newRow("Ukrainian apostrophe word") << "В'ячеслав" << "'В''ячеслав'";
        QTest::newRow("date text") << "2011-05-12" << "'2011-05-12'";
    }
    void quoting()
    {
        QFETCH(QString, text);
        QFETCH(QString, quoted);
        QCOMPARE(QuoteSqlText(text), quoted);
    }

    void typedNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("comma decimal") << "12,5" << true << 12.5;
        QTest::newRow("whole") << "40" << true << 40.0;
        QTest::newRow("leading comma") << ",5" << true << 0.5;
        QTest::newRow("trailing comma") << "5," << true << 5.0;
        QTest::newRow("surrounding blanks") << " 7 " << true << 7.0;
        QTest::newRow("exponent") << "1,5E-6" << true << 0.0000015;
        QTest::newRow("negative") << "-3" << true << -3.0;
        QTest::newRow("point is not the mark") << "12.5" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("comma alone") << "," << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("exponent without digits") << "1E" << false << 0.0;
        QTest::newRow("arabic-indic digits") << "١٢" << false << 0.0;
    }
    void typedNumbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        if (valid) {
            QCOMPARE(ReadTypedNumber(text), value);
            return;
        }
        try {
            ReadTypedNumber(text);
            QFAIL("accepted");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("'%1' is not a valid floating point value").arg(text));
        }
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("full") << "13.05.2011" << QDate(2011, 5, 13);
        QTest::newRow("short parts") << "1.2.2011" << QDate(2011, 2, 1);
        QTest::newRow("leap day") << "29.02.2012" << QDate(2012, 2, 29);
        QTest::newRow("no such day") << "30.02.2011" << QDate();
        QTest::newRow("sql form") << "2011-05-13" << QDate();
        QTest::newRow("two-digit year") << "13.05.11" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        if (date.isValid()) {
            QCOMPARE(ReadLocaleDate(text), date);
            QCOMPARE(ReadLocaleDate(LocaleDateText(date)), date);
            return;
        }
        try {
            ReadLocaleDate(text);
            QFAIL("accepted");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("'%1' is not a valid date").arg(text));
        }
    }

    void localeDate()
    {
        QCOMPARE(LocaleDateText(QDate(2011, 5, 3)), QStringLiteral("03.05.2011"));
        QCOMPARE(LocaleDateText(QDate()), QString());
    }

    void sqlDateJulianDay()
    {
        QCOMPARE(SqlDateJulianDay("2011-05-13", 10), QDate(2011, 5, 13).toJulianDay());
        QCOMPARE(SqlDateJulianDay("1958-01-01", 10), QDate(1958, 1, 1).toJulianDay());
        QCOMPARE(SqlDateJulianDay("2011-13-01", 10), 0);
        QCOMPARE(SqlDateJulianDay("2011/05/13", 10), 0);
        QCOMPARE(SqlDateJulianDay("2011-05-1", 9), 0);
    }

    // Typing a sequence of keys into a field with a filter, as the edit field does.
    static QString type(KeyFilter filter, const QString &keys)
    {
        QString text;
        for (QChar key : keys) {
            const QChar passed = filter(key, text);
            if (passed.isNull())
                continue;
            if (passed == Backspace)
                text.chop(1);
            else
                text += passed;
        }
        return text;
    }

    void keyFilters_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        const QString bs(Backspace);
        QTest::newRow("comma: second comma dropped") << 1 << "12,5," << "12,5";
        QTest::newRow("comma: point dropped") << 1 << "12.5" << "125";
        QTest::newRow("comma: letters dropped") << 1 << "1a-2" << "12";
        QTest::newRow("comma: comma again after backspace") << 1 << (QStringLiteral("1,") + bs + QStringLiteral(",5")) << "1,5";
        QTest::newRow("point: comma becomes point") << 2 << "12,5" << "12.5";
        QTest::newRow("point: further comma or point dropped") << 2 << "12,5,.3" << "12.53";
        QTest::newRow("digits: letters, minus, comma, point dropped") << 0 << "1a-2,3.4" << "1234";
        QTest::newRow("digits: backspace works") << 0 << (QStringLiteral("123") + bs + QStringLiteral("4")) << "124";
        QTest::newRow("digits: non-ASCII digits dropped") << 0 << "1٣2" << "12";
    }
    void keyFilters()
    {
        QFETCH(int, filter);
        QFETCH(QString, keys);
        QFETCH(QString, text);
        const KeyFilter filters[] = {DigitsOnlyFilter, CommaDecimalFilter, PointDecimalFilter};
        QCOMPARE(type(filters[filter], keys), text);
    }

    void commaOverSelectionIsDropped()
    {
        // The whole text counts, selected or not.
        QVERIFY(CommaDecimalFilter(u',', QStringLiteral("1,5")).isNull());
    }
};

QTEST_GUILESS_MAIN(TestFormat)
#include "test_format.moc"
