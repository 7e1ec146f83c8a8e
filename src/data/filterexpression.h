#pragma once

#include "field.h"

#include <QString>

#include <functional>
#include <memory>
#include <mysql.h>
#include <vector>

namespace coop {

// The client-side filter of a query: a field compared with =, <>, <, <=, >, >= to a quoted literal
// (read by the field's type, dates as locale date text), joined by and, or, not and parentheses:
//   DataVlash>='01.05.2011' and DataVlash<='31.05.2011'
//   NazvaViddily='Бакалія'
// It is parsed once when set and evaluated over the raw rows the query holds.
class FilterExpression
{
public:
    struct Binding
    {
        FieldType type;
        int column = -1;   // result column of a data field
        int calcSlot = -1; // slot of a calculated field
    };
    struct Rows
    {
        const std::vector<MYSQL_ROW> &rows;
        const std::vector<QVariant> &calcValues;
        int calcCount;
    };
    using Resolver = std::function<Binding(const QString &fieldName)>;

    // Raises coop::Error for a text that is not such an expression.
    static std::unique_ptr<FilterExpression> parse(const QString &text);
    ~FilterExpression();

    // Resolves field names and reads the literals by their fields' types; raises coop::Error
    // ("Field 'X' not found", "'x' is not a valid date", ...).
    void bind(const Resolver &resolve);
    bool matches(const Rows &rows, int rawRow) const;

    struct Node;

private:
    FilterExpression() = default;
    std::unique_ptr<Node> m_root;
};

} // namespace coop
