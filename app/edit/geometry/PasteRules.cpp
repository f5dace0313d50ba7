#include "PasteRules.h"

#include "FlatSet.h"
#include "Identifier.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace {

// The stem and number of a name ending in _N (N from 2), or the name itself and 0.
std::pair<std::string_view, unsigned long> splitSuffix(std::string_view name)
{
    const auto underscore = name.rfind('_');
    if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == name.size() ||
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
using Rect = std::array<std::uint32_t, 4>;

struct RectHash
{
    std::size_t operator()(const Rect& r) const
    {
        std::uint64_t h = 0;
        for (std::uint32_t part : r)
            h = (h ^ part) * 0x9E3779B97F4A7C15u;
        return static_cast<std::size_t>(h);
    }
};

using RectSet = FlatSet<Rect, RectHash>;

Rect rectOf(float x1, float y1, float x2, float y2)
{
    return {std::bit_cast<std::uint32_t>(x1), std::bit_cast<std::uint32_t>(y1),
            std::bit_cast<std::uint32_t>(x2), std::bit_cast<std::uint32_t>(y2)};
}

Rect rectOf(const LayoutControl& c)
{
    return rectOf(c.m_x1, c.m_y1, c.m_x2, c.m_y2);
}

constexpr float STEP = 10;
// More steps than this and the copies are far off anyway: the search ends there.
constexpr std::uint64_t MOST_STEPS = 1000;

// A corner that a step of 10 does not move (not finite, or too large for 10 to count) stays
// where it is, however many steps the others take.
bool moves(float v)
{
    return std::isfinite(v) && v + STEP != v;
}

float shifted(float v, std::uint64_t steps)
{
    // One addition of the whole distance: the same as steps additions of 10 wherever those
    // round nothing, and nearer the sum where they would.
    return moves(v) ? v + STEP * static_cast<float>(steps) : v;
}

// A rectangle with a corner that does not move is left out of the test: it might never get
// off an existing one.
bool takesPart(const LayoutControl& c)
{
    return moves(c.m_x1) && moves(c.m_y1) && moves(c.m_x2) && moves(c.m_y2);
}

Rect shiftedRect(const LayoutControl& c, std::uint64_t steps)
{
    return rectOf(shifted(c.m_x1, steps), shifted(c.m_y1, steps), shifted(c.m_x2, steps),
                  shifted(c.m_y2, steps));
}

// Rectangles that some number of steps turns into each other share their shape and the
// remainder of x1 by 10: their diagonal, here a hash of those measured to 1/1024 pixel. A step
// that rounds a fraction away keeps it almost always; a meeting missed all the same is caught
// by the check of the shift found. Two diagonals of one hash only cost a comparison.
using Diagonal = std::uint64_t;

// Far beyond anything a pasted rectangle can reach in MOST_STEPS steps.
constexpr double FAR = 1 << 30;

bool diagonalOf(const LayoutControl& c, Diagonal& diagonal)
{
    const double corners[] = {c.m_x1, c.m_y1, c.m_x2, c.m_y2};
    for (double v : corners)
        if (!(std::abs(v) < FAR))
            return false;
    const auto measure = [](double v) { return std::llround(v * 1024); };
    const double remainder = corners[0] - STEP * std::floor(corners[0] / STEP);
    const std::int64_t parts[] = {
        measure(corners[1] - corners[0]), measure(corners[2] - corners[0]),
        measure(corners[3] - corners[0]), measure(remainder) % measure(STEP)};
    diagonal = 0xCBF29CE484222325u;
    for (std::int64_t part : parts)
        diagonal = (diagonal ^ static_cast<std::uint64_t>(part)) * 0x100000001B3u;
    return true;
}

struct Placed
{
    Diagonal diagonal;
    double x1;
    Rect rect;
    bool operator<(const Placed& other) const
    {
        return diagonal != other.diagonal ? diagonal < other.diagonal : x1 < other.x1;
    }
};

struct Mover
{
    const LayoutControl* control;
    Diagonal diagonal;
    bool onDiagonal;
};

// The fewest steps of (10, 10) after which no incoming rectangle that takes part equals an
// existing one; past most, most + 1.
std::uint64_t freeSteps(const std::vector<LayoutControl>& existing,
                        const std::vector<LayoutControl>& incoming, std::uint64_t most)
{
    if (existing.empty())
        return 0;
    // Each incoming rectangle once: a thousand copies of one meet the same rectangles.
    std::vector<Mover> movers;
    RectSet seen(incoming.size());
    FlatSet<Diagonal> reached;
    for (const LayoutControl& c : incoming) {
        if (!takesPart(c) || !seen.insert(rectOf(c)))
            continue;
        Mover mover{&c, 0, false};
        mover.onDiagonal = diagonalOf(c, mover.diagonal);
        if (mover.onDiagonal)
            reached.insert(mover.diagonal);
        movers.push_back(mover);
    }
    // Of the layout, only the rectangles on a diagonal that some incoming one moves along.
    RectSet rects(existing.size());
    std::vector<Placed> placed;
    for (const LayoutControl& e : existing) {
        Diagonal diagonal = 0;
        if (rects.insert(rectOf(e)) && diagonalOf(e, diagonal) && reached.contains(diagonal))
            placed.push_back({diagonal, e.m_x1, rectOf(e)});
    }
    std::sort(placed.begin(), placed.end());

    // met[k]: some rectangle meets an existing one after k steps.
    std::vector<char> met(most + 1, 0);
    std::uint64_t metCount = 0;
    const auto meet = [&](std::uint64_t steps) {
        if (!met[steps]) {
            met[steps] = 1;
            ++metCount;
        }
    };
    for (const Mover& mover : movers) {
        if (metCount == met.size())
            break; // every shift is taken: most + 1
        const LayoutControl& c = *mover.control;
        if (rects.contains(rectOf(c)))
            meet(0);
        if (!mover.onDiagonal)
            continue;
        // Those on its diagonal within reach; a step's rounding may move the count by one.
        const double from = static_cast<double>(c.m_x1) + STEP / 2;
        const double to = static_cast<double>(c.m_x1) + STEP * static_cast<double>(most) + STEP;
        for (auto e =
                 std::lower_bound(placed.begin(), placed.end(), Placed{mover.diagonal, from, {}});
             e != placed.end() && e->diagonal == mover.diagonal && e->x1 <= to; ++e) {
            const std::int64_t near = std::llround((e->x1 - c.m_x1) / STEP);
            for (std::int64_t steps = std::max<std::int64_t>(near - 1, 1);
                 steps <= near + 1 && steps <= static_cast<std::int64_t>(most); ++steps)
                if (shiftedRect(c, static_cast<std::uint64_t>(steps)) == e->rect)
                    meet(static_cast<std::uint64_t>(steps));
        }
    }

    // A shift found free is checked against every rectangle, so a meeting the diagonals
    // missed costs time, never a copy on top of another.
    for (std::uint64_t steps = 0; steps <= most; ++steps) {
        if (met[steps])
            continue;
        const bool free = std::none_of(movers.begin(), movers.end(), [&](const Mover& mover) {
            return rects.contains(shiftedRect(*mover.control, steps));
        });
        if (free)
            return steps;
    }
    return most + 1;
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

    // A record must change where the layout holds its name or id, or this paste made it up
    // for an earlier record; the new names and ids avoid the layout and every incoming record.
    // Names are looked at where they are: incoming is not resized while the views into it
    // live.
    FlatSet<std::string_view> names(existing.size());
    FlatSet<std::uint32_t> ids(existing.size());
    std::uint64_t highest = 0;
    bool anyId = false;
    for (const LayoutControl& c : existing) {
        names.insert(c.m_name);
        ids.insert(c.m_id);
        highest = std::max<std::uint64_t>(highest, c.m_id);
        anyId = true;
    }
    FlatSet<std::string_view> pastedNames(incoming.size());
    FlatSet<std::uint32_t> pastedIds(incoming.size());
    // The names and ids this paste made up: a later copy that has one of them changes too.
    FlatSet<std::string_view> givenNames;
    FlatSet<std::uint32_t> givenIds;
    // Where the search for a free suffix of a stem goes on once _2 is taken, so many copies
    // of one name do not try the same suffixes again and again; the same for free ids below
    // the highest. Names only become taken during a paste, so every suffix below where a
    // search ended stays taken.
    std::unordered_map<std::string, unsigned long> nextSuffix;
    std::uint64_t nextFreeId = 0;
    std::string candidate;
    for (LayoutControl& c : incoming) {
        // Taken by the layout, or made up earlier in this paste (a copy renamed to A_2 and a
        // copied A_2 must not both end as A_2). Copies that repeat each other stay as copied.
        if (names.contains(c.m_name) || givenNames.contains(c.m_name)) {
            auto [stem, number] = splitSuffix(c.m_name);
            if (number == 0 || (!names.contains(stem) && !pastedNames.contains(stem)))
                stem = c.m_name;
            candidate.assign(stem);
            candidate += '_';
            const std::size_t stemLength = candidate.size();
            const auto taken = [&] {
                return names.contains(candidate) || pastedNames.contains(candidate);
            };
            candidate += '2';
            if (taken()) {
                // The stem is copied: the name it is a view into is about to change.
                unsigned long& n = nextSuffix.try_emplace(std::string(stem), 3).first->second;
                for (;; ++n) {
                    candidate.resize(stemLength);
                    candidate += std::to_string(n);
                    if (!taken())
                        break;
                }
                ++n;
            }
            c.m_name = candidate;
            givenNames.insert(c.m_name);
        }
        pastedNames.insert(c.m_name);
        if (ids.contains(c.m_id) || givenIds.contains(c.m_id)) {
            // Ids are 32 bits: past the largest, the first free one from 0 serves.
            std::uint64_t next = anyId ? highest + 1 : 0;
            if (next > UINT32_MAX) {
                while (ids.contains(static_cast<std::uint32_t>(nextFreeId)) ||
                       pastedIds.contains(static_cast<std::uint32_t>(nextFreeId)))
                    ++nextFreeId;
                next = nextFreeId;
            }
            c.m_id = static_cast<std::uint32_t>(next);
            givenIds.insert(c.m_id);
        }
        pastedIds.insert(c.m_id);
        highest = std::max<std::uint64_t>(highest, c.m_id);
        anyId = true;
    }

    // Each pair of an incoming and an existing rectangle meets at one shift at most; the
    // shifts are capped all the same, so a pathological layout costs a moment, not minutes.
    const std::uint64_t pairs =
        static_cast<std::uint64_t>(incoming.size()) * static_cast<std::uint64_t>(existing.size());
    const std::uint64_t steps = freeSteps(existing, incoming, std::min(pairs, MOST_STEPS));
    if (steps > 0) {
        for (LayoutControl& c : incoming) {
            c.m_x1 = shifted(c.m_x1, steps);
            c.m_y1 = shifted(c.m_y1, steps);
            c.m_x2 = shifted(c.m_x2, steps);
            c.m_y2 = shifted(c.m_y2, steps);
        }
    }
    return true;
}
