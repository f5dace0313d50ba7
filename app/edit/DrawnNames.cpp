#include "DrawnNames.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace {

const char STEM[] = "UNBENANNT";
constexpr std::size_t STEM_LENGTH = sizeof(STEM) - 1;

// n when name is UNBENANNT<n> written as a drawing writes it (no sign, no leading zero), or
// nothing: only such a name can ever be the one a drawing proposes.
bool numberOf(const tstring& name, std::uint64_t& n)
{
    if (name.size() <= STEM_LENGTH || name.size() > STEM_LENGTH + 19 ||
        std::memcmp(name.data(), STEM, STEM_LENGTH) != 0)
        return false;
    const char* first = name.data() + STEM_LENGTH;
    const char* last = name.data() + name.size();
    if (*first == '0' && last - first > 1)
        return false;
    if (*first < '0' || *first > '9')
        return false;
    const auto [end, error] = std::from_chars(first, last, n);
    return error == std::errc() && end == last;
}

void add(auto& counts, auto key, int by)
{
    if (by > 0) {
        ++counts[key];
        return;
    }
    const auto at = counts.find(key);
    if (at != counts.end() && --at->second == 0)
        counts.erase(at);
}

} // namespace

std::string CDrawnNames::NameFor(std::uint64_t n)
{
    return STEM + std::to_string(n);
}

void CDrawnNames::Note(const LayoutControl& control, int by)
{
    add(m_ids, control.m_id, by);
    std::uint64_t n = 0;
    if (numberOf(control.m_name, n))
        add(m_numbers, n, by);
}

void CDrawnNames::Added(const LayoutControl& control)
{
    if (!m_valid)
        return;
    Note(control, +1);
    ++m_count;
}

void CDrawnNames::Removed(const LayoutControl& control)
{
    if (!m_valid)
        return;
    Note(control, -1);
    --m_count;
}

void CDrawnNames::Count(const std::vector<LayoutControl>& controls)
{
    m_ids.clear();
    m_numbers.clear();
    m_ids.reserve(controls.size());
    for (const LayoutControl& control : controls)
        Note(control, +1);
    m_count = controls.size();
    m_valid = true;
    ++m_counts;
}

std::uint32_t CDrawnNames::NextNumber(const std::vector<LayoutControl>& controls)
{
    // Records written past the steps (a test, a load) show at least in their number.
    if (!m_valid || m_count != controls.size())
        Count(controls);
    constexpr std::uint64_t LAST = std::numeric_limits<std::uint32_t>::max();
    for (std::uint64_t n = controls.size(); n <= LAST; ++n)
        if (!m_ids.count(static_cast<std::uint32_t>(n)) && !m_numbers.count(n))
            return static_cast<std::uint32_t>(n);
    // Every id from the count up is taken: the count itself, as drawn controls always were.
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(controls.size(), LAST));
}
