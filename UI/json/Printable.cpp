#include "Printable.h"

#include <algorithm>
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

// One character, or one escape for a byte that is none, as Printable shows it.
struct Unit
{
    std::size_t at;     // where its bytes start in the text
    std::size_t length; // how many bytes of the text it stands for
    std::size_t width;  // how many characters it takes in the output
};

Unit unitAt(const std::string& text, std::size_t at)
{
    if (text[at] == '\\')
        return {at, 1, 2};
    const std::size_t length = printableSequence(text, at);
    return length > 0 ? Unit{at, length, 1} : Unit{at, 1, 4};
}

void appendUnit(std::string& out, const std::string& text, const Unit& unit)
{
    if (unit.width == 1) {
        out.append(text, unit.at, unit.length);
    } else if (text[unit.at] == '\\') {
        out += "\\\\";
    } else {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[unit.at]));
        out += escape;
    }
}

} // namespace

std::string Printable(const std::string& text, std::size_t limit)
{
    // Units are one character or one escape each, so a cut never splits either. The text may
    // be a whole file's worth: one pass finds the width, where the head ends and the last
    // units, only as many as the room behind the mark could take, so memory follows the
    // limit, not the text.
    const std::size_t room = limit > 3 ? limit - 3 : 0;
    const std::size_t headRoom = room / 3;
    // A ring of the latest units: each is at least one wide, and no limit (npos included) can
    // take more units than the text has.
    std::vector<Unit> last(std::min(room, text.size()) + 1);
    std::size_t units = 0, width = 0, headUnits = 0, headWidth = 0;
    bool headOpen = true;
    for (std::size_t at = 0; at < text.size();) {
        const Unit unit = unitAt(text, at);
        headOpen = headOpen && headWidth + unit.width <= headRoom;
        if (headOpen) {
            headWidth += unit.width;
            ++headUnits;
        }
        last[units++ % last.size()] = unit;
        width += unit.width;
        at += unit.length;
    }
    std::string out;
    if (width <= limit) {
        for (std::size_t at = 0; at < text.size();) {
            const Unit unit = unitAt(text, at);
            appendUnit(out, text, unit);
            at += unit.length;
        }
        return out;
    }
    // Keep the beginning and, longer, the end: for a path that is the file's own name.
    for (std::size_t i = 0, at = 0; i < headUnits; ++i) {
        const Unit unit = unitAt(text, at);
        appendUnit(out, text, unit);
        at += unit.length;
    }
    out += "...";
    std::size_t tailUnits = 0, tailWidth = 0;
    while (units - tailUnits > headUnits) {
        const Unit& unit = last[(units - tailUnits - 1) % last.size()];
        if (headWidth + tailWidth + unit.width > room)
            break;
        tailWidth += unit.width;
        ++tailUnits;
    }
    for (std::size_t i = units - tailUnits; i < units; ++i)
        appendUnit(out, text, last[i % last.size()]);
    return out;
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
