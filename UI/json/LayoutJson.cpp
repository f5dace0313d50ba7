#include "LayoutJson.h"

#include "JsonReader.h"
#include "Printable.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <set>

namespace {

// The pattern a plain "NaN" stands for; every other NaN is written with its bits.
constexpr std::uint32_t PLAIN_NAN = 0x7FC00000u;

} // namespace

void AppendFloatJson(std::string& out, float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    if (std::isnan(value)) {
        char text[32];
        std::snprintf(text, sizeof text, "\"NaN(0x%08X)\"", static_cast<unsigned>(bits));
        out += bits == PLAIN_NAN ? "\"NaN\"" : text;
    } else if (std::isinf(value)) {
        out += value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    } else if (value == 0.0f && std::signbit(value)) {
        out += "-0.0"; // a bare -0 would come back from a JSON reader as the integer 0
    } else {
        char text[64];
        const auto done = std::to_chars(text, text + sizeof text, value);
        out.append(text, done.ptr);
    }
}

std::string FloatText(float value)
{
    std::string text;
    AppendFloatJson(text, value);
    if (text.size() >= 2 && text.front() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

void AppendNameJson(std::string& out, const tstring& name)
{
    out += '"';
    for (unsigned char byte : name) {
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else {
            // The character of the same number, in UTF-8.
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    out += '"';
}

namespace {

// The C library's rounding, whatever the process locale: tiny values become subnormals or
// zero with their sign; only what lies beyond float's largest value fails.
bool parseFloat(std::string_view text, float& out)
{
    const std::string copy(text);
    char* end = nullptr;
#ifdef _WIN32
    static const _locale_t cLocale = _create_locale(LC_NUMERIC, "C");
    const float value = _strtof_l(copy.c_str(), &end, cLocale);
#else
    static const locale_t cLocale = ::newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    const float value = ::strtof_l(copy.c_str(), &end, cLocale);
#endif
    if (end != copy.c_str() + copy.size() || std::isinf(value))
        return false;
    out = value;
    return true;
}

// "NaN(0x7FC00001)": a NaN with the given bits; anything else under that name is not one.
bool parseNaN(const std::string& text, float& out)
{
    if (text.size() < 8 || text.size() > 15 || text.compare(0, 6, "NaN(0x") != 0 ||
        text.back() != ')')
        return false;
    std::uint32_t bits = 0;
    const char* first = text.data() + 6;
    const char* last = text.data() + text.size() - 1;
    const auto done = std::from_chars(first, last, bits, 16);
    if (done.ec != std::errc() || done.ptr != last || (bits & 0x7F800000u) != 0x7F800000u ||
        (bits & 0x007FFFFFu) == 0)
        return false;
    out = std::bit_cast<float>(bits);
    return true;
}

class LayoutReader
{
public:
    explicit LayoutReader(std::string_view text) : m_json(text) {}
    explicit LayoutReader(JsonSource& source) : m_json(source) {}

    bool Read(std::vector<LayoutControl>& records);
    const std::string& Error() const { return m_json.Error(); }

private:
    bool ReadControls(std::vector<LayoutControl>& records);
    bool ReadControl(const std::string& where, LayoutControl& control);
    bool ReadId(const std::string& field, std::uint32_t& out);
    bool ReadCoordinate(const std::string& field, float& out);
    bool ReadName(const std::string& field, tstring& out);
    bool Wrong(std::size_t offset, const std::string& field, const std::string& expected)
    {
        return m_json.Fail(offset, field + ": expected " + expected);
    }

    JsonReader m_json;
};

bool LayoutReader::Read(std::vector<LayoutControl>& records)
{
    const JsonReader::Kind kind = m_json.Peek();
    if (kind == JsonReader::Kind::Error)
        return false;
    if (kind != JsonReader::Kind::Object)
        return m_json.Fail(m_json.Offset(), "expected a JSON object with a \"controls\" array");
    m_json.BeginObject();
    bool first = true, found = false;
    std::set<std::string> keys;
    std::string key;
    std::size_t keyOffset = 0;
    for (;;) {
        const JsonReader::Step step = m_json.NextMember(first, key, keyOffset);
        if (step == JsonReader::Step::Error)
            return false;
        if (step == JsonReader::Step::End)
            break;
        if (!keys.insert(key).second)
            return m_json.Fail(keyOffset, "duplicate key \"" + Printable(key, 40) + "\"");
        if (key == "controls") {
            found = true;
            if (!ReadControls(records))
                return false;
        } else if (!m_json.Skip()) { // other keys are the reader's to ignore
            return false;
        }
    }
    if (!m_json.Finish())
        return false;
    if (!found)
        return m_json.Fail(0, "expected a \"controls\" array");
    return true;
}

bool LayoutReader::ReadControls(std::vector<LayoutControl>& records)
{
    const JsonReader::Kind kind = m_json.Peek();
    if (kind == JsonReader::Kind::Error)
        return false;
    if (kind != JsonReader::Kind::Array)
        return m_json.Fail(m_json.Offset(), "\"controls\" must be an array");
    m_json.BeginArray();
    bool first = true;
    for (;;) {
        const JsonReader::Step step = m_json.NextItem(first);
        if (step != JsonReader::Step::Next)
            return step == JsonReader::Step::End;
        LayoutControl control;
        if (!ReadControl("controls[" + std::to_string(records.size()) + "]", control))
            return false;
        records.push_back(std::move(control));
    }
}

bool LayoutReader::ReadControl(const std::string& where, LayoutControl& control)
{
    const JsonReader::Kind kind = m_json.Peek();
    if (kind == JsonReader::Kind::Error)
        return false;
    if (kind != JsonReader::Kind::Object)
        return m_json.Fail(m_json.Offset(), where + ": expected an object");
    m_json.BeginObject();
    static const char* const FIELDS[] = {"id", "name", "guiResourceId", "textId", "x1", "y1",
                                         "x2", "y2"};
    unsigned seen = 0;
    bool first = true;
    std::string key;
    std::size_t keyOffset = 0;
    for (;;) {
        const JsonReader::Step step = m_json.NextMember(first, key, keyOffset);
        if (step != JsonReader::Step::Next)
            return step == JsonReader::Step::End;
        unsigned index = 0;
        while (index < 8 && key != FIELDS[index])
            ++index;
        if (index == 8)
            return m_json.Fail(keyOffset, where + ": unknown field \"" + Printable(key, 40) + "\"");
        if (seen & (1u << index))
            return m_json.Fail(keyOffset, where + ": duplicate field \"" + key + "\"");
        seen |= 1u << index;
        const std::string field = where + ": " + key;
        bool ok = false;
        switch (index) {
        case 0:
            ok = ReadId(field, control.m_id);
            break;
        case 1:
            ok = ReadName(field, control.m_name);
            break;
        case 2:
            ok = ReadId(field, control.m_guiResourceId);
            break;
        case 3:
            ok = ReadId(field, control.m_textId);
            break;
        case 4:
            ok = ReadCoordinate(field, control.m_x1);
            break;
        case 5:
            ok = ReadCoordinate(field, control.m_y1);
            break;
        case 6:
            ok = ReadCoordinate(field, control.m_x2);
            break;
        default:
            ok = ReadCoordinate(field, control.m_y2);
            break;
        }
        if (!ok)
            return false;
    }
}

bool LayoutReader::ReadId(const std::string& field, std::uint32_t& out)
{
    const char* const expected = "an integer from 0 to 4294967295";
    const JsonReader::Kind kind = m_json.Peek();
    const std::size_t at = m_json.Offset();
    if (kind == JsonReader::Kind::Error)
        return false;
    std::string_view text;
    if (kind != JsonReader::Kind::Number || !m_json.ReadNumber(text))
        return Wrong(at, field, expected);
    std::uint32_t value = 0;
    const auto done = std::from_chars(text.data(), text.data() + text.size(), value);
    if (done.ec != std::errc() || done.ptr != text.data() + text.size())
        return Wrong(at, field, expected); // a sign, a fraction, an exponent or too large
    out = value;
    return true;
}

bool LayoutReader::ReadCoordinate(const std::string& field, float& out)
{
    const char* const expected = "a number within float's range, or \"NaN\", \"NaN(0x7FC00001)\", "
                                 "\"Infinity\", \"-Infinity\"";
    const JsonReader::Kind kind = m_json.Peek();
    const std::size_t at = m_json.Offset();
    if (kind == JsonReader::Kind::Number) {
        std::string_view text;
        if (!m_json.ReadNumber(text))
            return false;
        if (!parseFloat(text, out))
            return Wrong(at, field, expected);
        return true;
    }
    if (kind == JsonReader::Kind::String) {
        std::string text;
        if (!m_json.ReadString(text))
            return false;
        if (text == "NaN")
            out = std::bit_cast<float>(PLAIN_NAN);
        else if (text == "Infinity")
            out = std::numeric_limits<float>::infinity();
        else if (text == "-Infinity")
            out = -std::numeric_limits<float>::infinity();
        else if (!parseNaN(text, out))
            return Wrong(at, field, expected);
        return true;
    }
    return kind != JsonReader::Kind::Error && Wrong(at, field, expected);
}

// The string's characters must all lie in U+0001 to U+00FF: each becomes one byte. A zero
// byte would end the name when the file is read back.
bool LayoutReader::ReadName(const std::string& field, tstring& out)
{
    const JsonReader::Kind kind = m_json.Peek();
    const std::size_t at = m_json.Offset();
    if (kind == JsonReader::Kind::Error)
        return false;
    std::string text;
    if (kind != JsonReader::Kind::String)
        return Wrong(at, field, "a string of characters U+0001 to U+00FF");
    if (!m_json.ReadString(text))
        return false;
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0)
            return m_json.Fail(at, field + ": U+0000 cannot be stored: reading would end the "
                                           "name there");
        if (lead < 0x80)
            out += static_cast<char>(lead);
        else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size())
            out += static_cast<char>(((lead & 0x03) << 6) |
                                     (static_cast<unsigned char>(text[++i]) & 0x3F));
        else
            return Wrong(at, field, "a string of characters U+0001 to U+00FF");
    }
    return true;
}

} // namespace

std::string LayoutToJson(HRESULT result, const LayoutDataObject& layout)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(result));
    std::string out = "{\"result\": \"";
    out += code;
    out += "\", \"controls\": [";
    bool first = true;
    for (const LayoutControl& control : layout.m_controls) {
        out += first ? "\n  {\"id\": " : ",\n  {\"id\": ";
        first = false;
        out += std::to_string(control.m_id);
        out += ", \"name\": ";
        AppendNameJson(out, control.m_name);
        out += ", \"guiResourceId\": " + std::to_string(control.m_guiResourceId);
        out += ", \"textId\": " + std::to_string(control.m_textId);
        out += ", \"x1\": ";
        AppendFloatJson(out, control.m_x1);
        out += ", \"y1\": ";
        AppendFloatJson(out, control.m_y1);
        out += ", \"x2\": ";
        AppendFloatJson(out, control.m_x2);
        out += ", \"y2\": ";
        AppendFloatJson(out, control.m_y2);
        out += '}';
    }
    out += first ? "]}\n" : "\n]}\n";
    return out;
}

namespace {

bool readLayout(LayoutReader& reader, LayoutDataObject& layout, std::string& error)
{
    std::vector<LayoutControl> records;
    if (!reader.Read(records)) {
        error = reader.Error();
        return false;
    }
    layout.m_controls = std::move(records);
    return true;
}

} // namespace

bool LayoutFromJson(const std::string& text, LayoutDataObject& layout, std::string& error)
{
    LayoutReader reader(text);
    return readLayout(reader, layout, error);
}

bool LayoutFromJson(JsonSource& source, LayoutDataObject& layout, std::string& error)
{
    LayoutReader reader(source);
    return readLayout(reader, layout, error);
}
