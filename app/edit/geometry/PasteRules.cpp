#include "PasteRules.h"

#include "Identifier.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace {

// The stem and number of a name ending in _N (N from 2), or the name itself and 0.
std::pair<std::string, unsigned long> splitSuffix(const std::string& name)
{
    const auto underscore = name.rfind('_');
    if (underscore == std::string::npos || underscore == 0 || underscore + 1 == name.size() ||
        name.size() - underscore > 10)
        return {name, 0};
    unsigned long number = 0;
    for (std::size_t i = underscore + 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9')
            return {name, 0};
        number = number * 10 + static_cast<unsigned long>(name[i] - '0');
    }
    return number >= 2 ? std::pair{name.substr(0, underscore), number} : std::pair{name, 0ul};
}

// Rectangles compare by their bits: NaN corners are equal to themselves here.
using Rect = std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t>;

Rect rectOf(const LayoutControl& c)
{
    return {std::bit_cast<std::uint32_t>(c.m_x1), std::bit_cast<std::uint32_t>(c.m_y1),
            std::bit_cast<std::uint32_t>(c.m_x2), std::bit_cast<std::uint32_t>(c.m_y2)};
}

} // namespace

bool FitPastedControls(const std::vector<LayoutControl>& existing,
                       std::vector<LayoutControl>& incoming, std::string& badName)
{
    for (const LayoutControl& c : incoming) {
        if (!IsIdentifier(c.m_name)) {
            badName = c.m_name;
            return false;
        }
    }

    // What the layout holds decides which records must change; what this paste gives out
    // besides is avoided by the new names and ids too.
    std::unordered_set<std::string> names;
    std::unordered_set<std::uint32_t> ids;
    std::uint64_t highest = 0;
    bool anyId = false;
    std::set<Rect> rects;
    for (const LayoutControl& c : existing) {
        names.insert(c.m_name);
        ids.insert(c.m_id);
        highest = std::max<std::uint64_t>(highest, c.m_id);
        anyId = true;
        rects.insert(rectOf(c));
    }
    std::unordered_set<std::string> takenNames = names;
    std::unordered_set<std::uint32_t> takenIds = ids;
    // Where the search for a free suffix of a stem goes on, so many copies of one name do
    // not try the same suffixes again and again.
    std::unordered_map<std::string, unsigned long> nextSuffix;
    for (LayoutControl& c : incoming) {
        if (names.count(c.m_name)) {
            auto [stem, number] = splitSuffix(c.m_name);
            if (number == 0 || !names.count(stem))
                stem = c.m_name;
            unsigned long& n = nextSuffix.try_emplace(stem, 2).first->second;
            for (;; ++n) {
                const std::string candidate = stem + "_" + std::to_string(n);
                if (!takenNames.count(candidate)) {
                    c.m_name = candidate;
                    break;
                }
            }
        }
        takenNames.insert(c.m_name);
        if (ids.count(c.m_id)) {
            // Ids are 32 bits: past the largest, the first free one from 0 serves.
            std::uint64_t next = anyId ? highest + 1 : 0;
            if (next > UINT32_MAX)
                for (next = 0; takenIds.count(static_cast<std::uint32_t>(next)); ++next) {
                }
            c.m_id = static_cast<std::uint32_t>(next);
        }
        takenIds.insert(c.m_id);
        highest = std::max<std::uint64_t>(highest, c.m_id);
        anyId = true;
    }
    // A rectangle that a shift of 10 does not move (a corner NaN, infinite or too large for
    // 10 to count) can never leave its place: it does not hold the others back. Each other
    // pair of an incoming and an existing rectangle meets at one shift at most; the rounds
    // are capped all the same, so a pathological layout costs a moment, not minutes.
    auto moves = [](const LayoutControl& c) {
        return c.m_x1 + 10 != c.m_x1 && c.m_y1 + 10 != c.m_y1 && c.m_x2 + 10 != c.m_x2 &&
               c.m_y2 + 10 != c.m_y2;
    };
    const std::size_t rounds = std::min<std::size_t>(incoming.size() * existing.size(), 1000);
    for (std::size_t round = 0; round <= rounds; ++round) {
        const bool coincides = std::any_of(incoming.begin(), incoming.end(), [&](const auto& c) {
            return moves(c) && rects.count(rectOf(c)) > 0;
        });
        if (!coincides)
            break;
        for (LayoutControl& c : incoming) {
            c.m_x1 += 10;
            c.m_y1 += 10;
            c.m_x2 += 10;
            c.m_y2 += 10;
        }
    }
    return true;
}
