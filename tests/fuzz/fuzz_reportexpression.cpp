// The expression of a report element over a fixed row and fixed totals: it is read or refused with
// coop::Error, its value is a finite number or coop::Error, and the fields it lists are the ones it
// reads.

#include "fuzzcheck.h"

#include "reports/reportexpression.h"

#include <cmath>

using namespace coop;

namespace {

// Kilkist 3, Cina 2.5, Suma 0 in the row; totals of ten times each; 4 rows so far. Every field read
// or summed is recorded; one the row does not have is an error, as the report's query raises.
class Row : public ExpressionContext
{
public:
    double field(const QString &name) const override
    {
        read.append(name);
        return value(name);
    }
    double sum(const QString &name) const override
    {
        summed.append(name);
        return 10 * value(name);
    }
    double count() const override { return 4; }

    mutable QStringList read, summed;

private:
    static double value(const QString &name)
    {
        static const std::pair<const char *, double> fields[] = {{"Kilkist", 3}, {"Cina", 2.5}, {"Suma", 0}};
        for (const auto &[field, number] : fields)
            if (name.compare(QLatin1String(field), Qt::CaseInsensitive) == 0)
                return number;
        throw Error(QStringLiteral("Field '%1' not found").arg(name));
    }
};

bool listedOnce(const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i)
        for (qsizetype j = i + 1; j < fields.size(); ++j)
            if (fields[i].compare(fields[j], Qt::CaseInsensitive) == 0)
                return false;
    return true;
}

bool within(const QStringList &used, const QStringList &listed)
{
    return std::all_of(used.begin(), used.end(), [&](const QString &name) { return listed.contains(name, Qt::CaseInsensitive); });
}

// Whether the expression may be within two levels of the deepest the parser reads: it has as many
// brackets and operators as that.
bool nearlyTooDeep(const QString &text)
{
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return QStringView(u"(-+*/").contains(c); }) >= 490;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    std::unique_ptr<ReportExpression> expression;
    if (!fuzz::raisesOnlyCoopError([&] { expression = std::make_unique<ReportExpression>(text); }))
        return 0;
    FUZZ_CHECK(expression->text() == text);
    FUZZ_CHECK(listedOnce(expression->rowFields()) && listedOnce(expression->summedFields()));

    Row row;
    double value = 0;
    QString error;
    const bool evaluated = fuzz::raisesOnlyCoopError([&] { value = expression->evaluate(row); }, &error);
    FUZZ_CHECK(within(row.read, expression->rowFields()) && within(row.summed, expression->summedFields()));
    if (evaluated)
        FUZZ_CHECK(std::isfinite(value), QString::number(value));

    // Negated in brackets, it is read too (unless it was near the deepest the parser reads) and has
    // the opposite value, or an error as well.
    std::unique_ptr<ReportExpression> negatedExpression;
    const bool read = fuzz::raisesOnlyCoopError([&] { negatedExpression = std::make_unique<ReportExpression>(QStringLiteral("-(") + text + u')'); });
    if (!read && nearlyTooDeep(text))
        return 0;
    FUZZ_CHECK(read);
    const ReportExpression &negated = *negatedExpression;
    Row again;
    double negatedValue = 0;
    QString negatedError;
    FUZZ_CHECK(fuzz::raisesOnlyCoopError([&] { negatedValue = negated.evaluate(again); }, &negatedError) == evaluated);
    if (evaluated)
        FUZZ_CHECK(negatedValue == -value, QStringLiteral("%1 / %2").arg(value).arg(negatedValue));
    return 0;
}
