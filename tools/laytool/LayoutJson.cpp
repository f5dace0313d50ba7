#include "LayoutJson.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <system_error>

using nlohmann::json;

namespace {

void appendFloat(std::string& out, float value)
{
    if (std::isnan(value)) {
        out += "\"NaN\"";
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

void appendName(std::string& out, const tstring& name)
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

// Builds the ordinary document, except that every non-integer number keeps its source text
// (as a binary value, which JSON text itself can never produce), so no float is ever
// rounded through double.
class TextKeepingSax
{
public:
    explicit TextKeepingSax(json& root) : m_dom(root, false) {}

    bool null() { return m_dom.null(); }
    bool boolean(bool value) { return m_dom.boolean(value); }
    bool number_integer(json::number_integer_t value) { return m_dom.number_integer(value); }
    bool number_unsigned(json::number_unsigned_t value) { return m_dom.number_unsigned(value); }
    bool number_float(json::number_float_t, const json::string_t& text)
    {
        json::binary_t kept(std::vector<std::uint8_t>(text.begin(), text.end()));
        return m_dom.binary(kept);
    }
    bool string(json::string_t& value) { return m_dom.string(value); }
    bool binary(json::binary_t& value) { return m_dom.binary(value); }
    bool start_object(std::size_t size) { return m_dom.start_object(size); }
    bool key(json::string_t& value) { return m_dom.key(value); }
    bool end_object() { return m_dom.end_object(); }
    bool start_array(std::size_t size) { return m_dom.start_array(size); }
    bool end_array() { return m_dom.end_array(); }
    template <class Exception>
    bool parse_error(std::size_t position, const std::string&, const Exception& ex)
    {
        m_errorPosition = position;
        m_error = ex.what();
        return false;
    }

    std::size_t m_errorPosition = 0;
    std::string m_error;

private:
    nlohmann::detail::json_sax_dom_parser<json> m_dom;
};

std::string syntaxMessage(const std::string& text, std::size_t position, std::string what)
{
    // position counts the characters read, the failing one included.
    const std::size_t end = std::min(position > 0 ? position - 1 : 0, text.size());
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    // Keep the reader's own explanation, without its tag and its own position.
    const auto column = what.find("column ");
    if (column != std::string::npos) {
        const auto colon = what.find(": ", column);
        if (colon != std::string::npos)
            what = what.substr(colon + 2);
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(end - lineStart + 1) +
           ": " + what;
}

bool readFloat(const json& value, float& out)
{
    std::string text;
    if (value.is_binary()) {
        text.assign(value.get_binary().begin(), value.get_binary().end());
    } else if (value.is_number_integer()) {
        text = value.is_number_unsigned() ? std::to_string(value.get<json::number_unsigned_t>())
                                          : std::to_string(value.get<json::number_integer_t>());
    } else if (value.is_string()) {
        const auto& name = value.get_ref<const json::string_t&>();
        if (name == "NaN")
            out = std::numeric_limits<float>::quiet_NaN();
        else if (name == "Infinity")
            out = std::numeric_limits<float>::infinity();
        else if (name == "-Infinity")
            out = -std::numeric_limits<float>::infinity();
        else
            return false;
        return true;
    } else {
        return false;
    }
    const auto done = std::from_chars(text.data(), text.data() + text.size(), out);
    // Out of float's range is an error, not a silent infinity.
    return done.ec == std::errc() && done.ptr == text.data() + text.size();
}

bool readId(const json& value, std::uint32_t& out)
{
    if (value.is_number_unsigned() && value.get<json::number_unsigned_t>() <= UINT32_MAX) {
        out = static_cast<std::uint32_t>(value.get<json::number_unsigned_t>());
        return true;
    }
    return false;
}

// The string's characters must all lie in U+0000 to U+00FF: each becomes one byte.
bool readName(const json& value, tstring& out)
{
    if (!value.is_string())
        return false;
    const auto& text = value.get_ref<const json::string_t&>();
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size()) {
            out += static_cast<char>(((lead & 0x03) << 6) |
                                     (static_cast<unsigned char>(text[++i]) & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

bool readControl(const json& item, LayoutControl& control, std::string& error)
{
    if (!item.is_object()) {
        error = "expected an object";
        return false;
    }
    for (const auto& [key, value] : item.items()) {
        bool ok = true;
        std::string expected;
        if (key == "id" || key == "guiResourceId" || key == "textId") {
            std::uint32_t& field = key == "id"              ? control.m_id
                                   : key == "guiResourceId" ? control.m_guiResourceId
                                                            : control.m_textId;
            ok = readId(value, field);
            expected = "an integer from 0 to 4294967295";
        } else if (key == "x1" || key == "y1" || key == "x2" || key == "y2") {
            float& field = key == "x1"   ? control.m_x1
                           : key == "y1" ? control.m_y1
                           : key == "x2" ? control.m_x2
                                         : control.m_y2;
            ok = readFloat(value, field);
            expected = "a number within float's range, or \"NaN\", \"Infinity\", \"-Infinity\"";
        } else if (key == "name") {
            ok = readName(value, control.m_name);
            expected = "a string of characters U+0000 to U+00FF";
        } else {
            error = "unknown field \"" + key + "\"";
            return false;
        }
        if (!ok) {
            error = key + ": expected " + expected;
            return false;
        }
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
        appendName(out, control.m_name);
        out += ", \"guiResourceId\": " + std::to_string(control.m_guiResourceId);
        out += ", \"textId\": " + std::to_string(control.m_textId);
        out += ", \"x1\": ";
        appendFloat(out, control.m_x1);
        out += ", \"y1\": ";
        appendFloat(out, control.m_y1);
        out += ", \"x2\": ";
        appendFloat(out, control.m_x2);
        out += ", \"y2\": ";
        appendFloat(out, control.m_y2);
        out += '}';
    }
    out += first ? "]}\n" : "\n]}\n";
    return out;
}

bool LayoutFromJson(const std::string& text, LayoutDataObject& layout, std::string& error)
{
    json root;
    TextKeepingSax sax(root);
    if (!json::sax_parse(text, &sax, json::input_format_t::json, true) || !sax.m_error.empty()) {
        error = syntaxMessage(text, sax.m_errorPosition, sax.m_error);
        return false;
    }
    if (!root.is_object()) {
        error = "expected a JSON object with a \"controls\" array";
        return false;
    }
    const auto controls = root.find("controls");
    if (controls == root.end() || !controls->is_array()) {
        error = "expected a \"controls\" array";
        return false;
    }
    std::vector<LayoutControl> records;
    for (std::size_t i = 0; i < controls->size(); ++i) {
        LayoutControl control;
        if (!readControl((*controls)[i], control, error)) {
            error = "controls[" + std::to_string(i) + "]: " + error;
            return false;
        }
        records.push_back(std::move(control));
    }
    layout.m_controls = std::move(records);
    return true;
}
