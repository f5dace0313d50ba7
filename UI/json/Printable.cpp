#include "Printable.h"

#include <cstdio>
#include <vector>

namespace {

// Length of the UTF-8 sequence of a printable character at text[at], or 0.
std::size_t printableSequence(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(at);
    if (lead >= 0x20 && lead < 0x7F)
        return 1;
    std::size_t length = 0;
    unsigned point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07;
    } else {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        point = point << 6 | (byte(at + i) & 0x3F);
    }
    const unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool valid = point >= smallest[length] && point <= 0x10FFFF &&
                       (point < 0xD800 || point > 0xDFFF) && (point < 0x80 || point > 0x9F);
    return valid ? length : 0;
}

} // namespace

std::string Printable(const std::string& text, std::size_t limit)
{
    // Units: one character or one escape each, so a cut never splits either.
    std::vector<std::string> units;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = text[at] == '\\' ? 0 : printableSequence(text, at);
        if (length > 0) {
            units.push_back(text.substr(at, length));
            at += length;
        } else if (text[at] == '\\') {
            units.push_back("\\\\");
            ++at;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[at]));
            units.push_back(escape);
            ++at;
        }
    }
    std::size_t width = 0;
    for (const std::string& unit : units)
        width += unit[0] == '\\' ? unit.size() : 1;
    std::string out;
    if (width <= limit) {
        for (const std::string& unit : units)
            out += unit;
        return out;
    }
    // Keep the beginning and, longer, the end: for a path that is the file's own name.
    const std::size_t room = limit > 3 ? limit - 3 : 0;
    const std::size_t headRoom = room / 3;
    std::size_t head = 0, used = 0;
    for (; head < units.size(); ++head) {
        const std::size_t w = units[head][0] == '\\' ? units[head].size() : 1;
        if (used + w > headRoom)
            break;
        used += w;
        out += units[head];
    }
    out += "...";
    std::string tail;
    std::size_t tailUsed = 0;
    for (std::size_t i = units.size(); i > head; --i) {
        const std::string& unit = units[i - 1];
        const std::size_t w = unit[0] == '\\' ? unit.size() : 1;
        if (used + tailUsed + w > room)
            break;
        tailUsed += w;
        tail.insert(0, unit);
    }
    return out + tail;
}

std::string CutLine(const std::string& line, std::size_t limit)
{
    std::size_t characters = 0, end = 0;
    for (; end < line.size(); ++end) {
        if ((static_cast<unsigned char>(line[end]) & 0xC0) != 0x80) {
            if (characters == limit)
                break;
            ++characters;
        }
    }
    if (end == line.size())
        return line;
    // Room for the mark: step back three characters.
    std::size_t cut = end;
    for (int dropped = 0; dropped < 3 && cut > 0;) {
        --cut;
        if ((static_cast<unsigned char>(line[cut]) & 0xC0) != 0x80)
            ++dropped;
    }
    return line.substr(0, cut) + "...";
}
