#include "query/ControlQuery.h"

#include <QRegularExpression>
#include <QStringList>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether pattern (upper case, * and ?) matches text (any case) in full. The usual
// backtracking to the last star keeps it linear in practice.
bool globMatches(const std::string& pattern, const std::string& text)
{
    std::size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == upper(text[t]))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// pattern (upper case, no wildcard) anywhere in text, whatever the case of text.
bool containsUpper(const std::string& text, const std::string& pattern)
{
    if (pattern.size() > text.size())
        return false;
    for (std::size_t start = 0; start + pattern.size() <= text.size(); ++start) {
        std::size_t i = 0;
        while (i < pattern.size() && upper(text[start + i]) == pattern[i])
            ++i;
        if (i == pattern.size())
            return true;
    }
    return false;
}

bool readNumber(const QString& text, double& value)
{
    const std::string bytes = text.toStdString();
    if (bytes.empty())
        return false;
    const char* first = bytes.data();
    const char* last = first + bytes.size();
    if (*first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && std::isfinite(value);
}

} // namespace

bool ControlQuery::ReadTerm(const QString& word, Term& term, Error& error)
{
    const qsizetype colon = word.indexOf(u':');
    if (colon < 0) {
        // The name contains the word: the pattern matches the whole name with stars around.
        // Names are bytes, each the character of its number; a character beyond them
        // matches no name.
        std::string bytes;
        for (QChar c : word)
            bytes += c.unicode() <= 0xFF ? upper(static_cast<char>(c.unicode())) : '\0';
        term.field = Field::Name;
        term.pattern = "*" + bytes + "*";
        if (bytes.find_first_of("*?") == std::string::npos)
            term.plain = bytes;
        return true;
    }
    const QString name = word.left(colon).toLower();
    const QString value = word.mid(colon + 1);
    static const std::pair<const char*, Field> fields[] = {
        {"id", Field::Id}, {"text", Field::Text}, {"res", Field::Resource}, {"x", Field::X},
        {"y", Field::Y},   {"w", Field::Width},   {"h", Field::Height},
    };
    bool known = false;
    for (const auto& [fieldName, field] : fields) {
        if (name == QLatin1String(fieldName)) {
            term.field = field;
            known = true;
        }
    }
    if (!known) {
        error = Error::UnknownField;
        return false;
    }
    if (value.isEmpty()) {
        error = Error::NoValue;
        return false;
    }
    constexpr double INF = std::numeric_limits<double>::infinity();
    term.low = -INF;
    term.high = INF;
    const qsizetype dots = value.indexOf(QLatin1String(".."));
    bool read = true;
    if (dots >= 0) {
        const QString from = value.left(dots);
        const QString to = value.mid(dots + 2);
        if (from.isEmpty() && to.isEmpty())
            read = false;
        if (!from.isEmpty())
            read = read && readNumber(from, term.low);
        if (!to.isEmpty())
            read = read && readNumber(to, term.high);
    } else {
        struct Operator
        {
            const char* text;
            bool low, high, open;
        };
        // Longest first, so that >= is not read as > and a number starting with =.
        static const Operator operators[] = {{">=", true, false, false},
                                             {"<=", false, true, false},
                                             {">", true, false, true},
                                             {"<", false, true, true},
                                             {"=", true, true, false}};
        QString number = value;
        bool low = true, high = true, open = false;
        for (const Operator& op : operators) {
            if (value.startsWith(QLatin1String(op.text))) {
                number = value.mid(static_cast<qsizetype>(std::strlen(op.text)));
                low = op.low;
                high = op.high;
                open = op.open;
                break;
            }
        }
        double at = 0;
        read = readNumber(number, at);
        if (low) {
            term.low = at;
            term.lowOpen = open;
        }
        if (high) {
            term.high = at;
            term.highOpen = open;
        }
    }
    if (!read) {
        error = Error::NotANumber;
        return false;
    }
    return true;
}

ControlQuery ControlQuery::Parse(const QString& text)
{
    ControlQuery query;
    for (const QString& word :
         text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const QString trimmed = word.trimmed();
        if (trimmed.isEmpty())
            continue;
        Term term;
        Error error = Error::None;
        if (!ReadTerm(trimmed, term, error)) {
            query.m_terms.clear();
            query.m_error = error;
            query.m_problemTerm = trimmed;
            return query;
        }
        query.m_terms.push_back(std::move(term));
    }
    return query;
}

bool ControlQuery::Holds(const Term& term, const LayoutControl& c) const
{
    double value = 0;
    switch (term.field) {
    case Field::Name:
        return term.plain.empty() && term.pattern.size() > 2 ? globMatches(term.pattern, c.m_name)
                                                             : containsUpper(c.m_name, term.plain);
    case Field::Id:
        value = c.m_id;
        break;
    case Field::Text:
        value = c.m_textId;
        break;
    case Field::Resource:
        value = c.m_guiResourceId;
        break;
    case Field::X:
        value = c.m_x1;
        break;
    case Field::Y:
        value = c.m_y1;
        break;
    case Field::Width:
        value = c.m_x2 - c.m_x1;
        break;
    case Field::Height:
        value = c.m_y2 - c.m_y1;
        break;
    }
    if (std::isnan(value))
        return false;
    const bool aboveLow = term.lowOpen ? value > term.low : value >= term.low;
    const bool belowHigh = term.highOpen ? value < term.high : value <= term.high;
    return aboveLow && belowHigh;
}

bool ControlQuery::Matches(const LayoutControl& control) const
{
    for (const Term& term : m_terms)
        if (!Holds(term, control))
            return false;
    return true;
}

std::vector<std::size_t> ControlQuery::Matching(const std::vector<LayoutControl>& controls) const
{
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (Matches(controls[i]))
            indices.push_back(i);
    return indices;
}
