// Report expressions: arithmetic, precedence, aggregates and the texts that cannot be read.
#include "data/databaseerror.h"
#include "reports/reportexpression.h"

#include <QHash>
#include <QTest>

using namespace coop;

namespace {

// A row of Kilkist 3, Cina 2.5, Suma 7.5 after four rows whose Suma totals 100. Names are matched
// without regard to case, as the query matches them; an unknown one is refused as the query does.
class FixedRow : public ExpressionContext
{
public:
    double field(const QString &name) const override { return lookup(m_fields, name); }
    double sum(const QString &name) const override { return lookup(m_sums, name); }
    double count() const override { return 4; }

private:
    static double lookup(const QHash<QString, double> &values, const QString &name)
    {
        const auto found = values.constFind(name.toLower());
        if (found == values.cend())
            throw Error(QStringLiteral("Field '%1' not found").arg(name));
        return *found;
    }
    QHash<QString, double> m_fields{{QStringLiteral("kilkist"), 3}, {QStringLiteral("cina"), 2.5}, {QStringLiteral("suma"), 7.5}};
    QHash<QString, double> m_sums{{QStringLiteral("suma"), 100}, {QStringLiteral("kilkist"), 12}};
};

} // namespace

class TestReportExpression : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("product of fields") << "Kilkist * Cina" << 7.5;
        QTest::newRow("field times constant") << "Suma * 1.2" << 9.0;
        QTest::newRow("names in any case") << "KILKIST*cina" << 7.5;
        QTest::newRow("sum of a field") << "SUM(Suma)" << 100.0;
        QTest::newRow("sum keyword in any case, spaced") << "sum ( suma ) * 0.2" << 20.0;
        QTest::newRow("count") << "COUNT" << 4.0;
        QTest::newRow("count with parentheses") << "Count()" << 4.0;
        QTest::newRow("precedence") << "1 + 2 * 3" << 7.0;
        QTest::newRow("parentheses") << "(1 + 2) * 3" << 9.0;
        QTest::newRow("subtraction is left-associative") << "10 - 3 - 4" << 3.0;
        QTest::newRow("division is left-associative") << "12 / 2 / 3" << 2.0;
        QTest::newRow("unary minus") << "-Kilkist + 10" << 7.0;
        QTest::newRow("double minus") << "2 - -1" << 3.0;
        QTest::newRow("average") << "SUM(Suma) / COUNT" << 25.0;
        QTest::newRow("leading point") << ".5 * 4" << 2.0;
    }
    void values()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(ReportExpression(text).evaluate(FixedRow()), value);
    }

    void invalidTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("dangling operator") << "Suma *";
        QTest::newRow("unclosed parenthesis") << "(Suma + 1";
        QTest::newRow("stray parenthesis") << "Suma)";
        QTest::newRow("sum of a number") << "SUM(1)";
        QTest::newRow("sum of nothing") << "SUM()";
        QTest::newRow("two decimal points") << "1.2.3";
        QTest::newRow("comma as the mark") << "Suma * 1,2";
        QTest::newRow("unknown operator") << "Suma ^ 2";
        QTest::newRow("two operands") << "Suma Cina";
    }
    void invalidTexts()
    {
        QFETCH(QString, text);
        try {
            ReportExpression expression(text);
            QFAIL("accepted");
        } catch (const Error &error) {
            QCOMPARE(error.text(), QStringLiteral("Invalid report expression '%1'").arg(text));
        }
    }

    void divisionByZeroIsAnError()
    {
        const ReportExpression expression(QStringLiteral("Suma / (Kilkist - 3)"));
        QVERIFY_THROWS_EXCEPTION(Error, expression.evaluate(FixedRow()));
    }

    // What the builder totals while walking the rows, and what it must blank in an empty row.
    void fieldsRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("summed");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("row only") << "Kilkist * Cina" << QStringList{} << QStringList{QStringLiteral("Kilkist"), QStringLiteral("Cina")};
        QTest::newRow("aggregates only, each once") << "SUM(Suma) * 0.2 + sum(suma) + COUNT"
                                                    << QStringList{QStringLiteral("Suma")} << QStringList{};
        QTest::newRow("both") << "SUM(Kilkist) - Kilkist" << QStringList{QStringLiteral("Kilkist")} << QStringList{QStringLiteral("Kilkist")};
    }
    void fieldsRead()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, summed);
        QFETCH(QStringList, row);
        const ReportExpression expression(text);
        QCOMPARE(expression.summedFields(), summed);
        QCOMPARE(expression.rowFields(), row);
    }
};

QTEST_GUILESS_MAIN(TestReportExpression)
#include "test_reportexpression.moc"
