#include "JsonReader.h"

#include "Printable.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int MAX_DEPTH = 512;
constexpr std::size_t EXCERPT = 24;
// Bytes kept behind the reader's place when the rest is let go: room for the escape that
// starts a message (at most 12 bytes) and the excerpt of a place just read.
constexpr std::size_t KEEP_BEHIND = 64;
const std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool isWordByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '+' || c == '-' || c == '_';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
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
    if (m_text.substr(0, 3) == BYTE_ORDER_MARK)
        m_at = 3;
}

JsonReader::JsonReader(JsonSource& source, std::size_t window)
    : m_source(&source), m_window(window > 0 ? window : 1), m_ended(false)
{
    Has(2);
    if (m_text.substr(0, 3) == BYTE_ORDER_MARK)
        m_at = 3;
}

bool JsonReader::Load(std::size_t offset)
{
    while (!m_ended && offset - m_base >= m_text.size()) {
        if (m_at > m_base + KEEP_BEHIND + m_window)
            Discard(m_at - KEEP_BEHIND);
        const std::size_t before = m_buffer.size();
        const bool read = m_source->Read(m_buffer, m_window);
        m_text = m_buffer;
        if (!read) {
            m_ended = true;
            m_sourceFailed = true;
            Fail(m_base + m_text.size(), "the text could not be read on from here");
        } else if (m_buffer.size() == before) {
            m_ended = true;
        }
    }
    return offset - m_base < m_text.size();
}

void JsonReader::Discard(std::size_t upTo)
{
    if (!m_markKept && m_mark >= m_base && m_mark < upTo) {
        Position(m_mark, m_markLine, m_markColumn);
        m_markExcerpt = ExcerptHeld(m_mark);
        m_markKept = true;
    }
    for (std::size_t i = 0; i < upTo - m_base; ++i) {
        if (m_text[i] == '\n') {
            ++m_baseLine;
            m_baseColumn = 1;
        } else if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) {
            ++m_baseColumn; // characters, not bytes
        }
    }
    m_buffer.erase(0, upTo - m_base);
    m_base = upTo;
    m_text = m_buffer;
}

void JsonReader::Mark(std::size_t offset)
{
    m_mark = offset;
    m_markKept = false;
}

void JsonReader::Position(std::size_t offset, std::size_t& line, std::size_t& column) const
{
    if (offset < m_base) {
        const bool mark = m_markKept && offset == m_mark;
        line = mark ? m_markLine : offset == 0 ? 1 : m_baseLine;
        column = mark ? m_markColumn : offset == 0 ? 1 : m_baseColumn;
        return;
    }
    line = m_baseLine;
    column = m_baseColumn;
    const std::size_t end = std::min(offset - m_base, m_text.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (m_text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(m_text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
}

void JsonReader::SkipBlanks()
{
    while (Has(m_at) && isBlank(At(m_at)))
        ++m_at;
}

std::string JsonReader::Excerpt(std::size_t offset)
{
    if (offset + EXCERPT + 5 >= m_base)
        Has(offset + EXCERPT + 5);
    if (offset < m_base)
        return m_markKept && offset == m_mark ? m_markExcerpt : "'...'";
    return ExcerptHeld(offset);
}

std::string JsonReader::ExcerptHeld(std::size_t offset)
{
    const std::string_view text = m_text;
    const std::size_t at = offset - m_base;
    if (at >= text.size())
        return "the end of the input";
    std::size_t end = at;
    while (end < text.size() && isWordByte(text[end]) && end - at <= EXCERPT)
        ++end;
    if (end == at) {
        const std::size_t length = utf8Sequence(text, at);
        end = std::min(text.size(), at + (length ? length : 1));
    }
    std::string piece = Printable(std::string(text.substr(at, end - at)), EXCERPT);
    if (end < text.size() && isWordByte(text[end]) && end > at && isWordByte(text[at]))
        piece += "...";
    return "'" + piece + "'";
}

bool JsonReader::Fail(std::size_t offset, const std::string& message)
{
    if (!m_error.empty())
        return false;
    std::size_t line = 1, column = 1;
    Position(offset, line, column);
    m_error =
        "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + message;
    return false;
}

JsonReader::Kind JsonReader::Peek()
{
    SkipBlanks();
    Mark(m_at);
    if (!Has(m_at)) {
        Fail(m_at, "unexpected end of input; expected a value");
        return Kind::Error;
    }
    const char c = At(m_at);
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
    if (Has(m_at) && At(m_at) == '}') {
        ++m_at;
        return Step::End;
    }
    if (!first) {
        if (!Has(m_at) || At(m_at) != ',') {
            Fail(m_at, "expected ',' or '}' after a member, found " + Excerpt(m_at));
            return Step::Error;
        }
        ++m_at;
        SkipBlanks();
    }
    first = false;
    keyOffset = m_at;
    Mark(m_at);
    if (!Has(m_at) || At(m_at) != '"') {
        Fail(m_at, "expected a key in quotes, found " + Excerpt(m_at));
        return Step::Error;
    }
    if (!ReadString(key))
        return Step::Error;
    SkipBlanks();
    if (!Has(m_at) || At(m_at) != ':') {
        Fail(m_at, "expected ':' after the key, found " + Excerpt(m_at));
        return Step::Error;
    }
    ++m_at;
    return Step::Next;
}

JsonReader::Step JsonReader::NextItem(bool& first)
{
    SkipBlanks();
    if (Has(m_at) && At(m_at) == ']') {
        ++m_at;
        return Step::End;
    }
    if (!first) {
        if (!Has(m_at) || At(m_at) != ',') {
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
    if (!Has(m_at + 1))
        return Fail(start, "the string has no closing quote");
    const char kind = At(m_at + 1);
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
            const int digit = Has(m_at) ? hexValue(At(m_at)) : -1;
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
        const bool escape = Has(m_at + 1) && At(m_at) == '\\' && At(m_at + 1) == 'u';
        if (!escape || (m_at += 2, !fourHex(low)) || low < 0xDC00 || low > 0xDFFF)
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
        if (!Has(m_at))
            return Fail(start, "the string that starts here has no closing quote");
        const auto c = static_cast<unsigned char>(At(m_at));
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
            Has(m_at + 3);
            const std::size_t length = utf8Sequence(m_text, m_at - m_base);
            if (length == 0)
                return Fail(m_at, "a string holds a byte that is not UTF-8 " +
                                      Printable(std::string(1, static_cast<char>(c))));
            value.append(m_text.substr(m_at - m_base, length));
            m_at += length;
        }
    }
}

bool JsonReader::ReadNumber(std::string_view& text)
{
    const std::size_t start = m_at;
    m_token.clear();
    const auto take = [&] { m_token += At(m_at++); };
    const auto digits = [&] {
        const std::size_t from = m_at;
        while (Has(m_at) && isDigit(At(m_at)))
            take();
        return m_at > from;
    };
    bool valid = true;
    if (Has(m_at) && At(m_at) == '-')
        take();
    if (Has(m_at) && At(m_at) == '0')
        take();
    else
        valid = digits();
    if (valid && Has(m_at) && At(m_at) == '.') {
        take();
        valid = digits();
    }
    if (valid && Has(m_at) && (At(m_at) == 'e' || At(m_at) == 'E')) {
        take();
        if (Has(m_at) && (At(m_at) == '+' || At(m_at) == '-'))
            take();
        valid = digits();
    }
    // "01", "1.", "1x": the number must end where a delimiter starts.
    if (!valid || (Has(m_at) && isWordByte(At(m_at))))
        return Fail(start, "invalid number " + Excerpt(start));
    text = m_token;
    return true;
}

bool JsonReader::ReadLiteral(std::string_view& word)
{
    const std::size_t start = m_at;
    m_token.clear();
    // No literal is longer than five letters: a longer word is wrong at its sixth.
    while (Has(m_at) && isWordByte(At(m_at)) && m_token.size() < 6)
        m_token += At(m_at++);
    if (m_token != "true" && m_token != "false" && m_token != "null")
        return Fail(start, "unexpected " + Excerpt(start) + "; expected a value");
    word = m_token;
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
    if (Has(m_at))
        return Fail(m_at, "unexpected " + Excerpt(m_at) + " after the end of the value");
    return !m_sourceFailed;
}
