#include "reports/reportexpression.h"

#include "data/databaseerror.h"
#include "data/textscanner.h"

#include <algorithm>
#include <cmath>

namespace coop {

struct ReportExpression::Node
{
    enum class Op { Number, Field, Sum, Count, Negate, Add, Subtract, Multiply, Divide };
    Op kind = Op::Number;
    double number = 0;
    QString field; // Field, Sum
    std::unique_ptr<Node> left, right;
};

using Node = ReportExpression::Node;
using Op = Node::Op;

namespace {

// Recursive descent over the text:
//   sum     := product (("+" | "-") product)*
//   product := unary (("*" | "/") unary)*
//   unary   := "-" unary | primary
//   primary := number | "(" sum ")" | SUM "(" name ")" | COUNT ["(" ")"] | name
class Parser : TextScanner
{
public:
    using TextScanner::TextScanner;

    std::unique_ptr<Node> parse()
    {
        auto root = sum();
        skipSpaces();
        if (!atEnd())
            fail();
        return root;
    }

private:
    [[noreturn]] void fail() const
    {
        throw Error(QStringLiteral("Invalid report expression '%1'").arg(m_text));
    }

    void expect(QChar c)
    {
        if (!take(c))
            fail();
    }

    struct Operator
    {
        QChar sign;
        Op kind;
    };
    // Operands read by `operand`, joined from the left by any of the operators of one precedence.
    std::unique_ptr<Node> chain(std::unique_ptr<Node> (Parser::*operand)(), std::initializer_list<Operator> operators)
    {
        Depth depth(*this);
        auto node = (this->*operand)();
        for (;;) {
            const auto taken = std::find_if(operators.begin(), operators.end(),
                                            [&](const Operator &candidate) { return take(candidate.sign); });
            if (taken == operators.end())
                return node;
            if (!depth.deeper())
                fail();
            node = JoinedNode(taken->kind, std::move(node), (this->*operand)());
        }
    }
    std::unique_ptr<Node> sum() { return chain(&Parser::product, {{u'+', Op::Add}, {u'-', Op::Subtract}}); }
    std::unique_ptr<Node> product() { return chain(&Parser::unary, {{u'*', Op::Multiply}, {u'/', Op::Divide}}); }
    std::unique_ptr<Node> unary()
    {
        Depth depth(*this);
        if (!depth.deeper())
            fail();
        if (take(u'-'))
            return JoinedNode(Op::Negate, unary());
        return primary();
    }
    std::unique_ptr<Node> primary()
    {
        skipSpaces();
        if (take(u'(')) {
            auto node = sum();
            expect(u')');
            return node;
        }
        auto node = std::make_unique<Node>();
        if (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == u'.')) {
            node->kind = Op::Number;
            node->number = number();
            return node;
        }
        const QString word = name();
        if (word.compare(QLatin1String("SUM"), Qt::CaseInsensitive) == 0 && take(u'(')) {
            node->kind = Op::Sum;
            node->field = name();
            expect(u')');
        } else if (word.compare(QLatin1String("COUNT"), Qt::CaseInsensitive) == 0) {
            node->kind = Op::Count;
            if (take(u'('))
                expect(u')');
        } else {
            node->kind = Op::Field;
            node->field = word;
        }
        return node;
    }
    double number()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == u'.'))
            ++m_pos;
        bool ok = false;
        const double value = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok)
            fail();
        return value;
    }
    QString name()
    {
        skipSpaces();
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'_'))
            ++m_pos;
        if (m_pos == start || m_text[start].isDigit())
            fail();
        return m_text.mid(start, m_pos - start);
    }

};

void collectFields(const Node *node, Op op, QStringList &out)
{
    if (!node)
        return;
    if (node->kind == op && !out.contains(node->field, Qt::CaseInsensitive))
        out.append(node->field);
    collectFields(node->left.get(), op, out);
    collectFields(node->right.get(), op, out);
}

double evaluate(const Node &node, const ExpressionContext &context, const QString &text)
{
    switch (node.kind) {
    case Op::Number: return node.number;
    case Op::Field: return context.field(node.field);
    case Op::Sum: return context.sum(node.field);
    case Op::Count: return context.count();
    case Op::Negate: return -evaluate(*node.left, context, text);
    case Op::Add: return evaluate(*node.left, context, text) + evaluate(*node.right, context, text);
    case Op::Subtract: return evaluate(*node.left, context, text) - evaluate(*node.right, context, text);
    case Op::Multiply: return evaluate(*node.left, context, text) * evaluate(*node.right, context, text);
    case Op::Divide: {
        const double divisor = evaluate(*node.right, context, text);
        if (divisor == 0)
            throw Error(QStringLiteral("Division by zero in report expression '%1'").arg(text));
        return evaluate(*node.left, context, text) / divisor;
    }
    }
    return 0;
}

} // namespace

ReportExpression::ReportExpression(const QString &text) : m_text(text), m_root(Parser(m_text).parse()) {}
ReportExpression::~ReportExpression() = default;
ReportExpression::ReportExpression(ReportExpression &&) noexcept = default;
ReportExpression &ReportExpression::operator=(ReportExpression &&) noexcept = default;

QStringList ReportExpression::summedFields() const
{
    QStringList fields;
    collectFields(m_root.get(), Op::Sum, fields);
    return fields;
}

QStringList ReportExpression::rowFields() const
{
    QStringList fields;
    collectFields(m_root.get(), Op::Field, fields);
    return fields;
}

double ReportExpression::evaluate(const ExpressionContext &context) const
{
    const double value = coop::evaluate(*m_root, context, m_text);
    // Past the largest number (a product, a division by a tiny divisor) the value is infinite, or
    // NaN once an infinity meets another or a zero: refused as a division by zero is.
    if (!std::isfinite(value))
        throw Error(QStringLiteral("Overflow in report expression '%1'").arg(m_text));
    return value;
}

} // namespace coop
