#include "JsonReader.h"

#include "Printable.h"

#include <cstdint>

namespace {

constexpr int MAX_DEPTH = 512;
constexpr std::size_t EXCERPT = 24;

bool isWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '+' || c == '-' || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// Length of a well-formed UTF-8 sequence at text[at] that is not plain ASCII, or 0.
std::size_t utf8Sequence(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(at);
    const unsigned second = byte(at + 1);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if ((lead == 0xE0 && second >= 0xA0) || (lead >= 0xE1 && lead <= 0xEC) ||
             (lead == 0xED && second < 0xA0) || lead == 0xEE || lead == 0xEF)
        length = 3;
    else if ((lead == 0xF0 && second >= 0x90) || (lead >= 0xF1 && lead <= 0xF3) ||
             (lead == 0xF4 && second < 0x90))
        length = 4;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

JsonReader::JsonReader(std::string_view text) : m_text(text)
{
    // A byte order mark some editors write is no part of the value.
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_at = 3;
}

void JsonReader::SkipBlanks()
{
    while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' ||
                                    m_text[m_at] == '\n' || m_text[m_at] == '\r'))
        ++m_at;
}

std::string JsonReader::Excerpt(std::size_t offset) const
{
    if (offset >= m_text.size())
        return "the end of the input";
    std::size_t end = offset;
    while (end < m_text.size() && isWordByte(m_text[end]) && end - offset <= EXCERPT)
        ++end;
    if (end == offset) {
        const std::size_t length = utf8Sequence(m_text, offset);
        end = offset + (length ? length : 1);
    }
    std::string piece = Printable(std::string(m_text.substr(offset, end - offset)), EXCERPT);
    if (end < m_text.size() && isWordByte(m_text[end]) && end > offset &&
        isWordByte(m_text[offset]))
        piece += "...";
    return "'" + piece + "'";
}

bool JsonReader::Fail(std::size_t offset, const std::string& message)
{
    if (!m_error.empty())
        return false;
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < offset && i < m_text.size(); ++i) {
        if (m_text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) {
            ++column; // characters, not bytes
        }
    }
    m_error =
        "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
    return false;
}

JsonReader::Kind JsonReader::Peek()
{
    SkipBlanks();
    if (m_at >= m_text.size()) {
        Fail(m_at, "unexpected end of input; expected a value");
        return Kind::Error;
    }
    const char c = m_text[m_at];
    if (c == '{')
        return Kind::Object;
    if (c == '[')
        return Kind::Array;
    if (c == '"')
        return Kind::String;
    if (c == '-' || isDigit(c))
        return Kind::Number;
    if (c == 't' || c == 'f' || c == 'n')
        return Kind::Literal;
    Fail(m_at, "unexpected " + Excerpt(m_at) + "; expected a value");
    return Kind::Error;
}

void JsonReader::BeginObject()
{
    ++m_at;
}

void JsonReader::BeginArray()
{
    ++m_at;
}

JsonReader::Step JsonReader::NextMember(bool& first, std::string& key, std::size_t& keyOffset)
{
    SkipBlanks();
    if (m_at < m_text.size() && m_text[m_at] == '}') {
        ++m_at;
        return Step::End;
    }
    if (!first) {
        if (m_at >= m_text.size() || m_text[m_at] != ',') {
            Fail(m_at, "expected ',' or '}' after a member, found " + Excerpt(m_at));
            return Step::Error;
        }
        ++m_at;
        SkipBlanks();
    }
    first = false;
    keyOffset = m_at;
    if (m_at >= m_text.size() || m_text[m_at] != '"') {
        Fail(m_at, "expected a key in quotes, found " + Excerpt(m_at));
        return Step::Error;
    }
    if (!ReadString(key))
        return Step::Error;
    SkipBlanks();
    if (m_at >= m_text.size() || m_text[m_at] != ':') {
        Fail(m_at, "expected ':' after the key, found " + Excerpt(m_at));
        return Step::Error;
    }
    ++m_at;
    return Step::Next;
}

JsonReader::Step JsonReader::NextItem(bool& first)
{
    SkipBlanks();
    if (m_at < m_text.size() && m_text[m_at] == ']') {
        ++m_at;
        return Step::End;
    }
    if (!first) {
        if (m_at >= m_text.size() || m_text[m_at] != ',') {
            Fail(m_at, "expected ',' or ']' after an item, found " + Excerpt(m_at));
            return Step::Error;
        }
        ++m_at;
    }
    first = false;
    return Step::Next;
}

bool JsonReader::ReadEscape(std::string& value)
{
    const std::size_t start = m_at; // at the backslash
    if (m_at + 1 >= m_text.size())
        return Fail(start, "the string has no closing quote");
    const char kind = m_text[m_at + 1];
    m_at += 2;
    switch (kind) {
    case '"':
    case '\\':
    case '/':
        value += kind;
        return true;
    case 'b':
        value += '\b';
        return true;
    case 'f':
        value += '\f';
        return true;
    case 'n':
        value += '\n';
        return true;
    case 'r':
        value += '\r';
        return true;
    case 't':
        value += '\t';
        return true;
    case 'u':
        break;
    default:
        return Fail(start, "invalid escape " + Excerpt(start + 1) + " in a string");
    }
    const auto fourHex = [&](std::uint32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const int digit = m_at < m_text.size() ? hexValue(m_text[m_at]) : -1;
            if (digit < 0)
                return false;
            unit = unit << 4 | static_cast<std::uint32_t>(digit);
            ++m_at;
        }
        return true;
    };
    std::uint32_t unit = 0;
    if (!fourHex(unit))
        return Fail(start, "'\\u' must be followed by four hexadecimal digits");
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return Fail(start, "a low surrogate without a high one before it");
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        std::uint32_t low = 0;
        if (m_text.substr(m_at, 2) != "\\u" || (m_at += 2, !fourHex(low)) || low < 0xDC00 ||
            low > 0xDFFF)
            return Fail(start, "a high surrogate without a low one after it");
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(value, unit);
    return true;
}

bool JsonReader::ReadString(std::string& value)
{
    const std::size_t start = m_at; // at the opening quote
    ++m_at;
    value.clear();
    for (;;) {
        if (m_at >= m_text.size())
            return Fail(start, "the string that starts here has no closing quote");
        const auto c = static_cast<unsigned char>(m_text[m_at]);
        if (c == '"') {
            ++m_at;
            return true;
        }
        if (c == '\\') {
            if (!ReadEscape(value))
                return false;
        } else if (c < 0x20) {
            return Fail(m_at, "a control character in a string must be written as an escape");
        } else if (c < 0x80) {
            value += static_cast<char>(c);
            ++m_at;
        } else {
            const std::size_t length = utf8Sequence(m_text, m_at);
            if (length == 0)
                return Fail(m_at, "a string holds a byte that is not UTF-8 " +
                                      Printable(std::string(1, static_cast<char>(c))));
            value.append(m_text.substr(m_at, length));
            m_at += length;
        }
    }
}

bool JsonReader::ReadNumber(std::string_view& text)
{
    const std::size_t start = m_at;
    const auto digits = [&] {
        const std::size_t from = m_at;
        while (m_at < m_text.size() && isDigit(m_text[m_at]))
            ++m_at;
        return m_at > from;
    };
    bool valid = true;
    if (m_text[m_at] == '-')
        ++m_at;
    if (m_at < m_text.size() && m_text[m_at] == '0')
        ++m_at;
    else
        valid = digits();
    if (valid && m_at < m_text.size() && m_text[m_at] == '.') {
        ++m_at;
        valid = digits();
    }
    if (valid && m_at < m_text.size() && (m_text[m_at] == 'e' || m_text[m_at] == 'E')) {
        ++m_at;
        if (m_at < m_text.size() && (m_text[m_at] == '+' || m_text[m_at] == '-'))
            ++m_at;
        valid = digits();
    }
    // "01", "1.", "1x": the number must end where a delimiter starts.
    if (!valid || (m_at < m_text.size() && isWordByte(m_text[m_at])))
        return Fail(start, "invalid number " + Excerpt(start));
    text = m_text.substr(start, m_at - start);
    return true;
}

bool JsonReader::ReadLiteral(std::string_view& word)
{
    const std::size_t start = m_at;
    while (m_at < m_text.size() && isWordByte(m_text[m_at]))
        ++m_at;
    word = m_text.substr(start, m_at - start);
    if (word != "true" && word != "false" && word != "null")
        return Fail(start, "unexpected " + Excerpt(start) + "; expected a value");
    return true;
}

bool JsonReader::Skip()
{
    return SkipNested(0);
}

bool JsonReader::SkipNested(int depth)
{
    if (depth > MAX_DEPTH)
        return Fail(m_at, "values nested deeper than " + std::to_string(MAX_DEPTH) + " levels");
    std::string text;
    std::string_view token;
    switch (Peek()) {
    case Kind::Object: {
        BeginObject();
        bool first = true;
        std::size_t keyOffset = 0;
        for (;;) {
            const Step step = NextMember(first, text, keyOffset);
            if (step != Step::Next)
                return step == Step::End;
            if (!SkipNested(depth + 1))
                return false;
        }
    }
    case Kind::Array: {
        BeginArray();
        bool first = true;
        for (;;) {
            const Step step = NextItem(first);
            if (step != Step::Next)
                return step == Step::End;
            if (!SkipNested(depth + 1))
                return false;
        }
    }
    case Kind::String:
        return ReadString(text);
    case Kind::Number:
        return ReadNumber(token);
    case Kind::Literal:
        return ReadLiteral(token);
    case Kind::Error:
        break;
    }
    return false;
}

bool JsonReader::Finish()
{
    SkipBlanks();
    if (m_at < m_text.size())
        return Fail(m_at, "unexpected " + Excerpt(m_at) + " after the end of the value");
    return true;
}
