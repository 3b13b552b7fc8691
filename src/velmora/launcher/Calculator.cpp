#include "velmora/launcher/Calculator.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace velmora {

QString rawValue(Operator op)
{
    return QString(QChar(static_cast<char16_t>(op)));
}

std::optional<Operator> operatorFromRawValue(QChar c)
{
    for (Operator op : kAllOperators) {
        if (static_cast<char16_t>(op) == c.unicode())
            return op;
    }
    return std::nullopt;
}

namespace {

enum class Kind : std::uint8_t { number, op, open, close };

constexpr int kNone = -1;

// The token list lives in a pool linked both ways, and every bracket knows its partner.
// The rewrite and grouping passes insert brackets around operands; with a plain array each
// insertion and each search for a matching bracket would walk the list, which turns long or
// deeply nested input into quadratic work on every keystroke.
struct Token {
    Kind kind = Kind::number;
    Operator op = Operator::add;
    QStringView text; // number tokens only
    int prev = kNone;
    int next = kNone;
    int match = kNone; // brackets only: the partner, or none while unbalanced

    static Token number(QStringView text) { return make(Kind::number, Operator::add, text); }
    static Token oper(Operator op) { return make(Kind::op, op, {}); }
    static Token bracket(Kind kind) { return make(kind, Operator::add, {}); }

private:
    static Token make(Kind kind, Operator op, QStringView text)
    {
        Token t;
        t.kind = kind;
        t.op = op;
        t.text = text;
        return t;
    }
};

class TokenList {
public:
    void reserve(std::size_t count) { m_pool.reserve(count); }
    [[nodiscard]] int head() const { return m_head; }
    [[nodiscard]] int tail() const { return m_tail; }
    [[nodiscard]] bool isEmpty() const { return m_head == kNone; }
    [[nodiscard]] bool hasSingleToken() const { return m_head != kNone && m_head == m_tail; }
    Token &operator[](int i) { return m_pool[static_cast<std::size_t>(i)]; }
    const Token &operator[](int i) const { return m_pool[static_cast<std::size_t>(i)]; }

    [[nodiscard]] bool is(int i, Kind kind) const { return i != kNone && (*this)[i].kind == kind; }
    [[nodiscard]] bool isOperator(int i, Operator op) const
    {
        return is(i, Kind::op) && (*this)[i].op == op;
    }
    [[nodiscard]] int next(int i) const { return i == kNone ? kNone : (*this)[i].next; }

    int append(Token t)
    {
        t.prev = m_tail;
        t.next = kNone;
        const int i = add(t);
        if (m_tail == kNone)
            m_head = i;
        else
            (*this)[m_tail].next = i;
        m_tail = i;
        return i;
    }

    int insertBefore(int at, Token t)
    {
        t.prev = (*this)[at].prev;
        t.next = at;
        const int i = add(t);
        if (t.prev == kNone)
            m_head = i;
        else
            (*this)[t.prev].next = i;
        (*this)[at].prev = i;
        return i;
    }

    int insertAfter(int at, Token t)
    {
        t.prev = at;
        t.next = (*this)[at].next;
        const int i = add(t);
        if (t.next == kNone)
            m_tail = i;
        else
            (*this)[t.next].prev = i;
        (*this)[at].next = i;
        return i;
    }

    // Puts "(" before `first` and ")" after `last`, as one pair.
    void enclose(int first, int last)
    {
        const int open = insertBefore(first, Token::bracket(Kind::open));
        const int close = insertAfter(last, Token::bracket(Kind::close));
        (*this)[open].match = close;
        (*this)[close].match = open;
    }

    // Pairs the brackets as a left-to-right scan would; unpaired ones keep no partner.
    void pairBrackets()
    {
        std::vector<int> opens;
        for (int i = m_head; i != kNone; i = (*this)[i].next) {
            Token &t = (*this)[i];
            t.match = kNone;
            if (t.kind == Kind::open) {
                opens.push_back(i);
            } else if (t.kind == Kind::close && !opens.empty()) {
                t.match = opens.back();
                (*this)[opens.back()].match = i;
                opens.pop_back();
            }
        }
    }

private:
    int add(const Token &t)
    {
        m_pool.push_back(t);
        return static_cast<int>(m_pool.size()) - 1;
    }

    std::vector<Token> m_pool;
    int m_head = kNone;
    int m_tail = kNone;
};

bool isHorizontalSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isBracket(QChar c)
{
    return QStringView(u"[]{}()").contains(c);
}

bool isNumberCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'.';
}

// Splits the text; "[" and "{" read as "(", "]" and "}" as ")".
TokenList tokenize(QStringView text)
{
    TokenList list;
    // Most texts gain fewer inserted tokens than they have characters.
    list.reserve(std::size_t(text.size()) * 2);
    qsizetype pendingStart = -1;
    auto endNumber = [&](qsizetype end) {
        if (pendingStart >= 0)
            list.append(Token::number(text.mid(pendingStart, end - pendingStart)));
        pendingStart = -1;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (const auto op = operatorFromRawValue(c)) {
            endNumber(i);
            list.append(Token::oper(*op));
        } else if (isBracket(c)) {
            endNumber(i);
            const bool opening = c == u'(' || c == u'[' || c == u'{';
            list.append(Token::bracket(opening ? Kind::open : Kind::close));
        } else if (pendingStart < 0) {
            pendingStart = i;
        }
    }
    endNumber(text.size());
    list.pairBrackets();
    return list;
}

// The operand that starts right after position `i`: one token, or a whole bracketed group.
int operandEndAfter(const TokenList &list, int i)
{
    const int first = list[i].next;
    return list.is(first, Kind::open) ? list[first].match : first;
}

// The operand that ends right before position `i`.
int operandStartBefore(const TokenList &list, int i)
{
    const int last = list[i].prev;
    return list.is(last, Kind::close) ? list[last].match : last;
}

// Gives "√" and negations a left operand 0, and turns "x%" into "(x / 100)".
void rewriteUnaryAndPercent(TokenList &list)
{
    static constexpr QStringView kZero = u"0";
    static constexpr QStringView kHundred = u"100";
    for (int i = list.head(); i != kNone; i = list[i].next) {
        if (list[i].kind != Kind::op)
            continue;
        const Operator op = list[i].op;
        const int prev = list[i].prev;
        if ((op == Operator::squareRoot || op == Operator::subtract) && list[i].next != kNone) {
            const bool rewrite =
                op == Operator::squareRoot
                    ? !(list.is(prev, Kind::number) && list[prev].text == kZero)
                    : !(list.is(prev, Kind::number) || list.is(prev, Kind::close) ||
                        list.isOperator(prev, Operator::subtract));
            if (!rewrite)
                continue;
            const int end = operandEndAfter(list, i);
            if (end == kNone)
                return; // unbalanced: leave the rest for validation to reject
            list.insertBefore(i, Token::number(kZero));
            list.enclose(list[i].prev, end);
        } else if (op == Operator::percent && prev != kNone) {
            const int start = operandStartBefore(list, i);
            if (start == kNone)
                return;
            list[i].op = Operator::divide;
            const int hundred = list.insertAfter(i, Token::number(kHundred));
            list.enclose(start, hundred);
        }
    }
}

bool isValidNumber(QStringView text)
{
    return text != u"." && text.count(u'.') <= 1;
}

bool validate(const TokenList &list)
{
    if (list.isEmpty())
        return false;
    int depth = 0;
    for (int i = list.head(); i != kNone; i = list[i].next) {
        const Token &t = list[i];
        switch (t.kind) {
        case Kind::number:
            if (!isValidNumber(t.text))
                return false;
            break;
        case Kind::op:
            if (t.prev == kNone || t.next == kNone || list.is(t.next, Kind::op))
                return false;
            break;
        case Kind::open: {
            ++depth;
            if (t.next == kNone || list.is(t.next, Kind::op) || list.is(t.prev, Kind::number))
                return false;
            // A bracketed part needs at least three tokens, as in 1 + 2.
            const int second = list.next(t.next);
            if (list.is(t.next, Kind::close) || list.is(second, Kind::close) ||
                list.is(list.next(second), Kind::close))
                return false;
            break;
        }
        case Kind::close:
            // A ")" before its "(" would leave the grouping without a partner to work from.
            if (--depth < 0)
                return false;
            if (t.prev == kNone || list.is(t.prev, Kind::op) || list.is(t.next, Kind::number))
                return false;
            break;
        }
    }
    return depth == 0;
}

bool belongsToLevel(Operator op, int level)
{
    switch (level) {
    case 0:
        return op == Operator::power || op == Operator::squareRoot;
    case 1:
        return op == Operator::multiply || op == Operator::divide;
    default:
        return op == Operator::add || op == Operator::subtract;
    }
}

// Encloses every operation in its own brackets, by precedence and then from left to right.
void groupByPrecedence(TokenList &list)
{
    for (int level = 0; level < 3; ++level) {
        for (int i = list.head(); i != kNone; i = list[i].next) {
            if (list[i].kind != Kind::op || !belongsToLevel(list[i].op, level))
                continue;
            const int prev = list[i].prev;
            const int next = list[i].next;
            if (list.is(list[prev].prev, Kind::open) && list.is(list[next].next, Kind::close))
                continue; // already enclosed
            list.enclose(operandStartBefore(list, i), operandEndAfter(list, i));
        }
    }
}

Decimal finite(Decimal value)
{
    // The decimal type has no infinity: overflow reads as NaN.
    return boost::multiprecision::isinf(value) ? decimalNaN() : value;
}

Decimal power(const Decimal &base, const Decimal &exponent)
{
    if (boost::multiprecision::isnan(base) || boost::multiprecision::isnan(exponent))
        return decimalNaN();
    const Decimal whole = boost::multiprecision::trunc(exponent);
    const bool negative = whole < 0;
    const Decimal magnitude = boost::multiprecision::abs(whole);
    // Beyond 2^62 every base other than 0 and ±1 has long since overflowed or underflowed, so
    // only the parity still matters; this keeps 9^99999999 at a few dozen multiplications.
    constexpr std::uint64_t kLimit = std::uint64_t(1) << 62;
    std::uint64_t n = 0;
    if (magnitude >= Decimal(kLimit))
        n = kLimit + (boost::multiprecision::fmod(magnitude, Decimal(2)).is_zero() ? 0 : 1);
    else
        n = magnitude.convert_to<std::uint64_t>();
    Decimal result = 1;
    Decimal square = base;
    while (n != 0) {
        if ((n & 1) != 0)
            result *= square;
        n >>= 1;
        if (n != 0)
            square *= square;
    }
    if (negative) {
        if (result.is_zero())
            return decimalNaN();
        result = Decimal(1) / result; // an overflowed power gives 0 here, as it should
    }
    return finite(result);
}

// The root is computed in double precision; the double's shortest round-trip text brings it back,
// so √2 reads 1.4142135623730951 and no binary expansion leaks into the answer.
Decimal squareRoot(const Decimal &x)
{
    if (boost::multiprecision::isnan(x) || x < 0)
        return decimalNaN();
    const double d = x.convert_to<double>();
    if (!std::isnormal(d) && !x.is_zero()) {
        // Outside the double's range: the same precision, computed in decimal.
        return Decimal(boost::multiprecision::sqrt(x).str(std::numeric_limits<double>::max_digits10,
                                                          std::ios_base::fmtflags(0)));
    }
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::sqrt(d));
    return Decimal(std::string(buffer, written.ptr));
}

std::optional<Decimal> apply(std::optional<Operator> op, const Decimal &a, const Decimal &b)
{
    if (!op)
        return std::nullopt;
    switch (*op) {
    case Operator::add:
        return finite(a + b);
    case Operator::subtract:
        return finite(a - b);
    case Operator::multiply:
        return finite(a * b);
    case Operator::divide:
        return b.is_zero() ? decimalNaN() : finite(a / b);
    case Operator::power:
        return power(a, b);
    case Operator::squareRoot:
        return squareRoot(b);
    case Operator::percent:
        return std::nullopt;
    }
    return std::nullopt;
}

// A number token as a decimal (0 if it does not parse). Whole numbers of up to 18 digits skip
// the text parser, which is by far the slower path and would dominate long expressions.
Decimal parseNumber(QStringView text)
{
    if (text.size() <= 18 && !text.contains(u'.')) {
        std::uint64_t n = 0;
        for (QChar c : text)
            n = n * 10 + (c.unicode() - u'0');
        return Decimal(n);
    }
    return decimalFromText(text).value_or(Decimal(0));
}

// One level of the expression tree while it is read: its operator and where its values start
// on the shared value stack (only the first two of a level are kept). Small, because deep
// nesting makes one per bracket.
struct Node {
    std::optional<Operator> op;
    std::size_t firstValue = 0;
    int childCount = 0;
};

// Reads the grouped list into nested levels with an explicit stack, so the depth of the
// brackets costs heap, not call stack. The last token (the outermost ")") is never read.
class TreeReader {
public:
    std::optional<Decimal> read(const TokenList &list)
    {
        m_levels.push_back(Node{});
        for (int i = list.head(); i != list.tail(); i = list[i].next) {
            const Token &t = list[i];
            switch (t.kind) {
            case Kind::number:
                append(parseNumber(t.text));
                break;
            case Kind::op:
                m_levels.back().op = t.op;
                break;
            case Kind::open:
                m_levels.push_back(Node{std::nullopt, m_values.size(), 0});
                break;
            case Kind::close:
                if (m_levels.size() == 1)
                    return value();
                if (!closeLevel())
                    return std::nullopt;
                break;
            }
        }
        while (m_levels.size() > 1) {
            if (!closeLevel())
                return std::nullopt;
        }
        return value();
    }

private:
    void append(const Decimal &value)
    {
        Node &node = m_levels.back();
        if (node.childCount < 2)
            m_values.push_back(value);
        ++node.childCount;
    }

    // The value of the innermost level: the result of its first two values, or its one value.
    [[nodiscard]] std::optional<Decimal> value() const
    {
        const Node &node = m_levels.back();
        if (node.childCount >= 2)
            return apply(node.op, m_values[node.firstValue], m_values[node.firstValue + 1]);
        if (node.childCount == 1)
            return m_values[node.firstValue];
        return std::nullopt;
    }

    bool closeLevel()
    {
        const std::optional<Decimal> result = value();
        m_values.resize(m_levels.back().firstValue);
        m_levels.pop_back();
        if (!result)
            return false;
        append(*result);
        return true;
    }

    std::vector<Node> m_levels;
    std::vector<Decimal> m_values;
};

QString withoutHorizontalSpace(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (!isHorizontalSpace(c))
            result.append(c);
    }
    return result;
}

bool hasOnlyAllowedCharacters(QStringView text)
{
    for (QChar c : text) {
        if (!isNumberCharacter(c) && !isBracket(c) && !operatorFromRawValue(c))
            return false;
    }
    return true;
}

} // namespace

std::optional<Decimal> Calculator::evaluate(const QString &text) const
{
    const QString source = withoutHorizontalSpace(text);
    if (!hasOnlyAllowedCharacters(source))
        return std::nullopt;
    TokenList list = tokenize(source);
    rewriteUnaryAndPercent(list);
    if (!validate(list))
        return std::nullopt;
    // Validation guarantees balanced brackets; pair them afresh for the grouping.
    list.pairBrackets();
    groupByPrecedence(list);
    if (list.hasSingleToken())
        return parseNumber(list[list.head()].text);
    return TreeReader().read(list);
}

} // namespace velmora
