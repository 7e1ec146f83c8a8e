// The client-side filter of a query, typed by a clerk or built from a clerk's text, over a fixed
// query of four data fields and three calculated ones: it is parsed, bound and evaluated or refused
// with coop::Error, and "not (F)" passes exactly the rows F does not.

#include "fuzzcheck.h"

#include "data/filterexpression.h"

#include <array>

using namespace coop;

namespace {

struct Column
{
    const char *name;
    FilterExpression::Binding binding;
};

// Kod, Cina, DataVlash, NazvaViddily are columns of the result; the last three are calculated.
const std::array<Column, 7> Fields = {{
    {"Kod", {FieldType::Integer, 0, -1}},
    {"Cina", {FieldType::Float, 1, -1}},
    {"DataVlash", {FieldType::Date, 2, -1}},
    {"NazvaViddily", {FieldType::String, 3, -1}},
    {"Suma", {FieldType::Float, -1, 0}},
    {"DataPerevirky", {FieldType::Date, -1, 1}},
    {"Prymitka", {FieldType::String, -1, 2}},
}};

// The raw rows as the server sends them, blanks (NULL) and odd texts among them.
char row0[4][16] = {"12", "3.5", "2011-05-01", "Бакалія"};
char row1[4][16] = {"-7", "0", "2011-05-31", "'"};
char row2[4][16] = {"0", "1e300", "0000-00-00", ""};
char row3[4][16] = {"99999999999", "-0.001", "2024-02-29", "zzz"};
std::array<char *, 4> raw0 = {row0[0], row0[1], row0[2], row0[3]};
std::array<char *, 4> raw1 = {row1[0], row1[1], row1[2], row1[3]};
std::array<char *, 4> raw2 = {nullptr, row2[1], row2[2], nullptr};
std::array<char *, 4> raw3 = {row3[0], row3[1], row3[2], row3[3]};
const std::vector<MYSQL_ROW> Rows = {raw0.data(), raw1.data(), raw2.data(), raw3.data()};
const std::vector<QVariant> CalcValues = {
    QVariant(42.5), QVariant(QDate(2011, 5, 15)), QVariant(QStringLiteral("Бакалія")),
    QVariant(), QVariant(QDate()), QVariant(QString()),
    QVariant(-1e-9), QVariant(QDate(1, 1, 1)), QVariant(QStringLiteral("'")),
    QVariant(1e308), QVariant(QDate(9999, 12, 31)), QVariant(QStringLiteral("Ї")),
};
constexpr int CalcCount = 3;

FilterExpression::Binding resolve(const QString &name)
{
    for (const Column &field : Fields)
        if (name.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0)
            return field.binding;
    throw Error(QStringLiteral("Field '%1' not found").arg(name));
}

// The rows the filter passes, or its error text.
struct Outcome
{
    bool parsed = false, bound = false;
    QString error;
    std::vector<bool> passes;
};

Outcome apply(const QString &text)
{
    Outcome outcome;
    std::unique_ptr<FilterExpression> filter;
    outcome.parsed = fuzz::raisesOnlyCoopError([&] { filter = FilterExpression::parse(text); }, &outcome.error);
    if (!outcome.parsed)
        return outcome;
    FUZZ_CHECK(filter);
    outcome.bound = fuzz::raisesOnlyCoopError([&] { filter->bind(resolve); }, &outcome.error);
    if (!outcome.bound)
        return outcome;
    const FilterExpression::Rows rows{Rows, CalcValues, CalcCount};
    for (int row = 0; row < int(Rows.size()); ++row)
        outcome.passes.push_back(filter->matches(rows, row));
    return outcome;
}

// Whether the filter may be within two levels of the deepest the parser reads: it has as many
// brackets and operators (counted generously) as that.
bool nearlyTooDeep(const QString &text)
{
    qsizetype levels = text.count(u'(');
    for (const char *word : {"not", "and", "or"})
        levels += text.count(QLatin1String(word), Qt::CaseInsensitive);
    return levels >= 490;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    const Outcome filter = apply(text);
    if (!filter.parsed)
        return 0;
    const Outcome negated = apply(QStringLiteral("not (") + text + u')');
    // Two levels more may take a filter at the deepest that is read past it.
    if (!negated.parsed && nearlyTooDeep(text))
        return 0;
    FUZZ_CHECK(negated.parsed, negated.error);
    FUZZ_CHECK(negated.bound == filter.bound, negated.error);
    if (!filter.bound) {
        FUZZ_CHECK(negated.error == filter.error, negated.error + QStringLiteral(" / ") + filter.error);
        return 0;
    }
    for (size_t row = 0; row < filter.passes.size(); ++row)
        FUZZ_CHECK(negated.passes[row] == !filter.passes[row], QStringLiteral("row %1").arg(row));
    return 0;
}
