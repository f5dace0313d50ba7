#include "LayoutDiff.h"

#include "LayoutJson.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace {

std::string floatJson(float value)
{
    std::string text;
    AppendFloatJson(text, value);
    return text;
}

void compareFields(const LayoutControl& a, const LayoutControl& b, LayoutChange change,
                   std::vector<LayoutChange>& out)
{
    change.kind = LayoutChange::Kind::Changed;
    const auto number = [&](const char* field, std::uint32_t x, std::uint32_t y) {
        if (x == y)
            return;
        change.field = field;
        change.oldValue = std::to_string(x);
        change.newValue = std::to_string(y);
        out.push_back(change);
    };
    // Bit for bit, as a save would write them: -0 differs from 0, a NaN equals itself.
    const auto coordinate = [&](const char* field, float x, float y) {
        if (std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y))
            return;
        change.field = field;
        change.oldValue = floatJson(x);
        change.newValue = floatJson(y);
        out.push_back(change);
    };
    number("id", a.m_id, b.m_id);
    number("guiResourceId", a.m_guiResourceId, b.m_guiResourceId);
    number("textId", a.m_textId, b.m_textId);
    coordinate("x1", a.m_x1, b.m_x1);
    coordinate("y1", a.m_y1, b.m_y1);
    coordinate("x2", a.m_x2, b.m_x2);
    coordinate("y2", a.m_y2, b.m_y2);
}

// Marks the pairs that keep their relative order: a longest increasing run of new indices
// over the pairs in old order. Every other matched control is the one that moved, so a
// control added or removed in front of others moves none of them.
std::vector<bool> keptInOrder(const std::vector<std::size_t>& newIndices)
{
    std::vector<std::size_t> tails;                               // positions in newIndices
    std::vector<std::size_t> before(newIndices.size(), SIZE_MAX); // predecessor in the run
    for (std::size_t i = 0; i < newIndices.size(); ++i) {
        const auto at = std::lower_bound(
            tails.begin(), tails.end(), newIndices[i],
            [&](std::size_t t, std::size_t value) { return newIndices[t] < value; });
        if (at != tails.begin())
            before[i] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<bool> kept(newIndices.size(), false);
    for (std::size_t i = tails.empty() ? SIZE_MAX : tails.back(); i != SIZE_MAX; i = before[i])
        kept[i] = true;
    return kept;
}

std::string valueText(const std::string& json)
{
    if (json.size() >= 2 && json.front() == '"')
        return json.substr(1, json.size() - 2);
    return json;
}

} // namespace

std::vector<LayoutChange> DiffLayouts(const LayoutDataObject& a, const LayoutDataObject& b)
{
    const std::vector<LayoutControl>& oldControls = a.m_controls;
    const std::vector<LayoutControl>& newControls = b.m_controls;

    // n-th occurrence of a name in a → n-th occurrence in b.
    std::map<tstring, std::vector<std::size_t>> oldByName;
    for (std::size_t i = 0; i < oldControls.size(); ++i)
        oldByName[oldControls[i].m_name].push_back(i);
    std::map<tstring, std::size_t> seen;
    std::vector<std::size_t> partnerOfNew(newControls.size(), SIZE_MAX);
    std::vector<std::size_t> partnerOfOld(oldControls.size(), SIZE_MAX);
    for (std::size_t j = 0; j < newControls.size(); ++j) {
        const auto found = oldByName.find(newControls[j].m_name);
        std::size_t& n = seen[newControls[j].m_name];
        if (found != oldByName.end() && n < found->second.size()) {
            partnerOfNew[j] = found->second[n];
            partnerOfOld[found->second[n]] = j;
        }
        ++n;
    }

    // Of the controls left, those with one id are one control under a new name.
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> oldById;
    for (std::size_t i = 0; i < oldControls.size(); ++i)
        if (partnerOfOld[i] == SIZE_MAX)
            oldById[oldControls[i].m_id].push_back(i);
    std::unordered_map<std::uint32_t, std::size_t> seenId;
    std::vector<bool> renamed(newControls.size(), false);
    for (std::size_t j = 0; j < newControls.size(); ++j) {
        if (partnerOfNew[j] != SIZE_MAX)
            continue;
        const auto found = oldById.find(newControls[j].m_id);
        std::size_t& n = seenId[newControls[j].m_id];
        if (found != oldById.end() && n < found->second.size()) {
            partnerOfNew[j] = found->second[n];
            partnerOfOld[found->second[n]] = j;
            renamed[j] = true;
        }
        ++n;
    }

    std::vector<std::size_t> newIndices;
    for (std::size_t i = 0; i < oldControls.size(); ++i)
        if (partnerOfOld[i] != SIZE_MAX)
            newIndices.push_back(partnerOfOld[i]);
    const std::vector<bool> kept = keptInOrder(newIndices);
    std::vector<bool> moved(newControls.size(), false);
    for (std::size_t k = 0; k < newIndices.size(); ++k)
        moved[newIndices[k]] = !kept[k];

    std::vector<LayoutChange> changes;
    for (std::size_t i = 0; i < oldControls.size(); ++i) {
        if (partnerOfOld[i] == SIZE_MAX) {
            LayoutChange change;
            change.kind = LayoutChange::Kind::Removed;
            change.name = oldControls[i].m_name;
            change.from = i;
            changes.push_back(change);
        }
    }
    for (std::size_t j = 0; j < newControls.size(); ++j) {
        LayoutChange change;
        change.name = newControls[j].m_name;
        change.to = j;
        if (partnerOfNew[j] == SIZE_MAX) {
            change.kind = LayoutChange::Kind::Added;
            changes.push_back(change);
            continue;
        }
        change.from = partnerOfNew[j];
        if (renamed[j]) {
            change.kind = LayoutChange::Kind::Renamed;
            change.oldName = oldControls[change.from].m_name;
            changes.push_back(change);
        }
        if (moved[j]) {
            change.kind = LayoutChange::Kind::Moved;
            changes.push_back(change);
        }
        compareFields(oldControls[change.from], newControls[j], change, changes);
    }
    return changes;
}

std::string NameText(const tstring& name)
{
    if (name.empty())
        return "\"\"";
    std::string out;
    for (unsigned char byte : name) {
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string DiffText(const std::vector<LayoutChange>& changes)
{
    std::string out;
    for (const LayoutChange& change : changes) {
        const std::string name = NameText(change.name);
        switch (change.kind) {
        case LayoutChange::Kind::Removed:
            out += "- " + name + '\n';
            break;
        case LayoutChange::Kind::Added:
            out += "+ " + name + '\n';
            break;
        case LayoutChange::Kind::Moved:
            out += "> " + name + " moved from index " + std::to_string(change.from) + " to " +
                   std::to_string(change.to) + '\n';
            break;
        case LayoutChange::Kind::Changed:
            out += "~ " + name + ' ' + change.field + ": " + valueText(change.oldValue) + " -> " +
                   valueText(change.newValue) + '\n';
            break;
        case LayoutChange::Kind::Renamed:
            out += "~ " + NameText(change.oldName) + " -> " + name + '\n';
            break;
        }
    }
    return out;
}

std::string DiffJson(const std::vector<LayoutChange>& changes)
{
    std::string out = changes.empty() ? "{\"equal\": true" : "{\"equal\": false";
    out += ", \"changes\": [";
    bool first = true;
    for (const LayoutChange& change : changes) {
        static const char* const KINDS[] = {"removed", "added", "moved", "changed", "renamed"};
        out += first ? "\n  {\"change\": \"" : ",\n  {\"change\": \"";
        first = false;
        out += KINDS[static_cast<int>(change.kind)];
        out += "\", \"name\": ";
        AppendNameJson(out, change.name);
        if (change.kind != LayoutChange::Kind::Added)
            out += ", \"from\": " + std::to_string(change.from);
        if (change.kind != LayoutChange::Kind::Removed)
            out += ", \"to\": " + std::to_string(change.to);
        if (change.kind == LayoutChange::Kind::Changed) {
            out += ", \"field\": \"";
            out += change.field;
            out += "\", \"old\": " + change.oldValue + ", \"new\": " + change.newValue;
        } else if (change.kind == LayoutChange::Kind::Renamed) {
            out += ", \"old\": ";
            AppendNameJson(out, change.oldName);
            out += ", \"new\": ";
            AppendNameJson(out, change.name);
        }
        out += '}';
    }
    out += first ? "]}\n" : "\n]}\n";
    return out;
}
