#include "filterexpression.h"

#include "databaseerror.h"
#include "format.h"
#include "textscanner.h"

#include <cstdlib>
#include <cstring>

namespace coop {

enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

struct FilterExpression::Node
{
    enum class Kind { And, Or, Not, Compare } kind;
    std::unique_ptr<Node> left, right; // Not uses left

    // Compare
    QString fieldName;
    Op op = Op::Equal;
    QString literal;
    bool literalQuoted = true;
    Binding binding{FieldType::String};
    double number = 0;
    qint64 day = 0;
    QByteArray utf8;
    QVariant calcLiteral;
};

namespace {

[[noreturn]] void syntaxError(const QString &text, qsizetype at)
{
    throw Error(QStringLiteral("Filter expression incorrectly formatted: %1 (at position %2)").arg(text).arg(at + 1));
}

class Parser : TextScanner
{
public:
    using TextScanner::TextScanner;

    std::unique_ptr<FilterExpression::Node> parseAll()
    {
        auto node = parseOr();
        skipSpaces();
        if (!atEnd())
            syntaxError(m_text, m_pos);
        return node;
    }

private:
    using Node = FilterExpression::Node;

    bool keyword(const char *word)
    {
        skipSpaces();
        const qsizetype length = qsizetype(std::strlen(word));
        if (m_text.mid(m_pos, length).compare(QLatin1String(word), Qt::CaseInsensitive) != 0)
            return false;
        const qsizetype after = m_pos + length;
        if (after < m_text.size() && (m_text[after].isLetterOrNumber() || m_text[after] == u'_'))
            return false;
        m_pos = after;
        return true;
    }
    std::unique_ptr<Node> parseOr()
    {
        Depth depth(*this);
        auto node = parseAnd();
        while (keyword("or")) {
            if (!depth.deeper())
                syntaxError(m_text, m_pos);
            node = JoinedNode(Node::Kind::Or, std::move(node), parseAnd());
        }
        return node;
    }
    std::unique_ptr<Node> parseAnd()
    {
        Depth depth(*this);
        auto node = parseUnary();
        while (keyword("and")) {
            if (!depth.deeper())
                syntaxError(m_text, m_pos);
            node = JoinedNode(Node::Kind::And, std::move(node), parseUnary());
        }
        return node;
    }
    std::unique_ptr<Node> parseUnary()
    {
        Depth depth(*this);
        if (!depth.deeper())
            syntaxError(m_text, m_pos);
        if (keyword("not"))
            return JoinedNode(Node::Kind::Not, parseUnary());
        if (take(u'(')) {
            auto node = parseOr();
            if (!take(u')'))
                syntaxError(m_text, m_pos);
            return node;
        }
        return parseComparison();
    }
    std::unique_ptr<Node> parseComparison()
    {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Compare;
        skipSpaces();
        node->fieldName = name();
        skipSpaces();
        node->op = comparison();
        skipSpaces();
        literal(*node);
        return node;
    }
    QString name()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos);
            if (close < 0)
                syntaxError(m_text, m_pos);
            QString bracketed = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return bracketed;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isLetterOrNumber() || m_text[m_pos] == u'_' || m_text[m_pos] == u'.'))
            ++m_pos;
        if (m_pos == start)
            syntaxError(m_text, m_pos);
        return m_text.mid(start, m_pos - start);
    }
    Op comparison()
    {
        const auto take = [&](const char *symbol, Op op) {
            const QLatin1String s(symbol);
            if (m_text.mid(m_pos, s.size()) == s) {
                m_pos += s.size();
                return std::optional<Op>(op);
            }
            return std::optional<Op>();
        };
        for (auto [symbol, op] : {std::pair{"<>", Op::NotEqual}, {"<=", Op::LessEqual}, {">=", Op::GreaterEqual},
                                  {"=", Op::Equal}, {"<", Op::Less}, {">", Op::Greater}})
            if (auto found = take(symbol, op))
                return *found;
        syntaxError(m_text, m_pos);
    }
    void literal(Node &node)
    {
        if (m_pos < m_text.size() && m_text[m_pos] == u'\'') {
            QString value;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size())
                    syntaxError(m_text, m_pos);
                if (m_text[m_pos] == u'\'') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'\'') {
                        value += u'\'';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
            node.literal = value;
            return;
        }
        // A bare number.
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && (m_text[m_pos].isDigit() || m_text[m_pos] == u',' || m_text[m_pos] == u'.'
                                         || ((m_text[m_pos] == u'-' || m_text[m_pos] == u'+') && m_pos == start)))
            ++m_pos;
        if (m_pos == start)
            syntaxError(m_text, m_pos);
        node.literal = m_text.mid(start, m_pos - start);
        node.literalQuoted = false;
    }

};

double readNumberLiteral(const QString &text)
{
    // Typed with the system's "," as the mark; a point is read too, as a clerk may write either.
    QString normalised = text.trimmed();
    if (!normalised.contains(u',') && normalised.count(u'.') == 1)
        normalised.replace(u'.', u',');
    return ReadTypedNumber(normalised);
}

void bindNode(FilterExpression::Node &node, const FilterExpression::Resolver &resolve)
{
    using Kind = FilterExpression::Node::Kind;
    if (node.kind != Kind::Compare) {
        bindNode(*node.left, resolve);
        if (node.right)
            bindNode(*node.right, resolve);
        return;
    }
    node.binding = resolve(node.fieldName);
    switch (node.binding.type) {
    case FieldType::Integer:
    case FieldType::Float:
        node.number = readNumberLiteral(node.literal);
        node.calcLiteral = node.number;
        break;
    case FieldType::Date: {
        const QDate date = ReadLocaleDate(node.literal);
        node.day = date.toJulianDay();
        node.calcLiteral = date;
        break;
    }
    case FieldType::String:
        node.utf8 = node.literal.toUtf8();
        node.calcLiteral = node.literal;
        break;
    }
}

template<typename T>
bool compare(Op op, const T &a, const T &b)
{
    switch (op) {
    case Op::Equal: return a == b;
    case Op::NotEqual: return a != b;
    case Op::Less: return a < b;
    case Op::LessEqual: return a <= b;
    case Op::Greater: return a > b;
    case Op::GreaterEqual: return a >= b;
    }
    return false;
}

bool compareRaw(const FilterExpression::Node &node, const char *raw)
{
    if (!raw)
        return false; // a blank field passes no comparison
    switch (node.binding.type) {
    case FieldType::Integer:
    case FieldType::Float:
        return compare(node.op, ReadServerNumber(raw), node.number);
    case FieldType::Date: {
        const qint64 day = SqlDateJulianDay(raw, qsizetype(std::strlen(raw)));
        return day != 0 && compare(node.op, day, node.day);
    }
    case FieldType::String: {
        const int order = std::strcmp(raw, node.utf8.constData());
        return compare(node.op, order, 0);
    }
    }
    return false;
}

bool compareCalculated(const FilterExpression::Node &node, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (node.binding.type) {
    case FieldType::Integer:
    case FieldType::Float: return compare(node.op, value.toDouble(), node.number);
    case FieldType::Date: return compare(node.op, value.toDate().toJulianDay(), node.day);
    case FieldType::String: return compare(node.op, value.toString(), node.literal);
    }
    return false;
}

bool evaluate(const FilterExpression::Node &node, const FilterExpression::Rows &rows, int rawRow)
{
    using Kind = FilterExpression::Node::Kind;
    switch (node.kind) {
    case Kind::And: return evaluate(*node.left, rows, rawRow) && evaluate(*node.right, rows, rawRow);
    case Kind::Or: return evaluate(*node.left, rows, rawRow) || evaluate(*node.right, rows, rawRow);
    case Kind::Not: return !evaluate(*node.left, rows, rawRow);
    case Kind::Compare:
        if (node.binding.calcSlot >= 0)
            return compareCalculated(node, rows.calcValues[size_t(rawRow) * size_t(rows.calcCount) + size_t(node.binding.calcSlot)]);
        return compareRaw(node, rows.rows[size_t(rawRow)][node.binding.column]);
    }
    return false;
}

} // namespace

FilterExpression::~FilterExpression() = default;

std::unique_ptr<FilterExpression> FilterExpression::parse(const QString &text)
{
    std::unique_ptr<FilterExpression> expression(new FilterExpression);
    expression->m_root = Parser(text).parseAll();
    return expression;
}

void FilterExpression::bind(const Resolver &resolve)
{
    bindNode(*m_root, resolve);
}

bool FilterExpression::matches(const Rows &rows, int rawRow) const
{
    return evaluate(*m_root, rows, rawRow);
}

} // namespace coop
