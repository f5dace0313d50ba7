// Which names and ids a drawn control may take. A drawn control is named UNBENANNT<n> with
// id n, n the number of controls; where that name or id is taken already, n is the smallest
// number above the count for which neither is. The ids and the numbers of the names of that
// form are counted here, so a drawing asks a few hashes instead of every control.
#pragma once

#include "LayoutDataObject.h"

#include <cstdint>
#include <string>
#include <unordered_map>

class CDrawnNames
{
public:
    // The name a drawn control of number n bears.
    static std::string NameFor(std::uint64_t n);
    // The number for the next drawn control of controls. Counts them afresh when they are
    // not the ones counted last.
    std::uint32_t NextNumber(const std::vector<LayoutControl>& controls);

    // What the layout's records went through since; counting stops being worth its while
    // for big changes, which start afresh at the next question instead.
    void Added(const LayoutControl& control);
    void Removed(const LayoutControl& control);
    void Invalidate() { m_valid = false; }
    // How often the controls were counted afresh: for tests and measurements.
    int Counts() const { return m_counts; }

private:
    void Count(const std::vector<LayoutControl>& controls);
    void Note(const LayoutControl& control, int by);

    bool m_valid = false;
    int m_counts = 0;
    std::size_t m_count = 0; // the number of records counted
    std::unordered_map<std::uint32_t, std::uint32_t> m_ids;
    std::unordered_map<std::uint64_t, std::uint32_t> m_numbers; // of names UNBENANNT<n>
};
