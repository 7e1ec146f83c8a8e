#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace coop {

// What an expression reads while it is evaluated: the fields of the row being printed and the
// aggregates over the rows printed so far.
class ExpressionContext
{
public:
    virtual ~ExpressionContext() = default;
    virtual double field(const QString &name) const = 0;
    virtual double sum(const QString &fieldName) const = 0;
    virtual double count() const = 0;
};

// An arithmetic expression of a report element: numbers (with "." as the decimal mark), field
// names, + - * /, unary minus, parentheses, SUM(field) and COUNT (with or without "()").
// Keywords are matched without regard to case, as field names are by the query.
class ReportExpression
{
public:
    // Raises coop::Error naming the expression when it cannot be read.
    explicit ReportExpression(const QString &text);
    ~ReportExpression();
    ReportExpression(ReportExpression &&) noexcept;
    ReportExpression &operator=(ReportExpression &&) noexcept;

    QString text() const { return m_text; }
    // The fields under SUM, so that the builder knows what to total while it walks the rows.
    QStringList summedFields() const;
    // The fields read from the row being printed (outside any aggregate).
    QStringList rowFields() const;
    // Raises coop::Error on a division by zero or an overflow rather than printing an infinity.
    double evaluate(const ExpressionContext &context) const;

    struct Node;

private:
    QString m_text;
    std::unique_ptr<Node> m_root;
};

} // namespace coop
