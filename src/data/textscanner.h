#pragma once

#include <QString>

#include <memory>

namespace coop {

// The reading position of a recursive-descent parser over an expression typed as text: the
// blanks between its words and its single-character signs. The filters of queries and the
// expressions of printed documents are read with it.
class TextScanner
{
public:
    explicit TextScanner(const QString &text) : m_text(text) {}

protected:
    bool atEnd() const { return m_pos >= m_text.size(); }
    void skipSpaces()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
    }
    // Skips the blanks before the next sign and takes it when it is `c`.
    bool take(QChar c)
    {
        skipSpaces();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

    // How deep an expression may go: far beyond any written by hand, and well within the stack that
    // its reading, evaluation and freeing take, all three recursive over its tree. Each bracket,
    // prefix operator and operator of a chain ("a + b + c") is a level.
    static constexpr int MaxDepth = 500;

    // The levels a parser goes down while it lives; each deeper() answers false once past MaxDepth,
    // and the parser then refuses the text as it refuses any it cannot read.
    class Depth
    {
    public:
        explicit Depth(TextScanner &scanner) : m_scanner(scanner), m_entered(scanner.m_depth) {}
        ~Depth() { m_scanner.m_depth = m_entered; }
        Depth(const Depth &) = delete;
        Depth &operator=(const Depth &) = delete;
        [[nodiscard]] bool deeper() { return ++m_scanner.m_depth <= MaxDepth; }

    private:
        TextScanner &m_scanner;
        int m_entered;
    };

    const QString &m_text;
    qsizetype m_pos = 0;

private:
    int m_depth = 0;
};

// A node of a parse tree over one or two operands; `Node` has `kind`, `left` and `right`.
template<typename Node>
std::unique_ptr<Node> JoinedNode(decltype(Node::kind) kind, std::unique_ptr<Node> left, std::unique_ptr<Node> right = {})
{
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->left = std::move(left);
    node->right = std::move(right);
    return node;
}

} // namespace coop
