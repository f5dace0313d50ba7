// A set of small keys in one array, for the million-key sets of a paste: no allocation per
// key, and a lookup that touches one or two cache lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Open addressing with linear probing. Keys are copied in; there is no erase. Each slot keeps
// its key's hash beside it, so a probe past other keys compares numbers and does not follow
// a key that is a view into memory elsewhere.
template <typename Key, typename Hash = std::hash<Key>> class FlatSet
{
public:
    explicit FlatSet(std::size_t expected = 0) { Rehash(SlotsFor(expected)); }

    // false when key was there already.
    bool insert(const Key& key) { return Insert(key, HashOf(key)); }

    bool contains(const Key& key) const
    {
        const std::uint64_t hash = HashOf(key);
        for (std::size_t slot = hash & m_mask; m_hashes[slot]; slot = (slot + 1) & m_mask)
            if (m_hashes[slot] == hash && m_keys[slot] == key)
                return true;
        return false;
    }

    std::size_t size() const { return m_size; }

private:
    static std::size_t SlotsFor(std::size_t count)
    {
        std::size_t slots = 16;
        while (slots < count * 2 + 2)
            slots *= 2;
        return slots;
    }

    // Probing runs along neighbours: hashes that differ in a few bits (sequential ids,
    // float patterns) must land far apart. Never 0, which marks an empty slot.
    static std::uint64_t HashOf(const Key& key)
    {
        std::uint64_t h = static_cast<std::uint64_t>(Hash{}(key));
        h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9u;
        h = (h ^ (h >> 27)) * 0x94D049BB133111EBu;
        return (h ^ (h >> 31)) | std::uint64_t{1} << 63;
    }

    bool Insert(const Key& key, std::uint64_t hash)
    {
        if ((m_size + 1) * 2 > m_keys.size())
            Rehash(m_keys.size() * 2);
        std::size_t slot = hash & m_mask;
        for (; m_hashes[slot]; slot = (slot + 1) & m_mask)
            if (m_hashes[slot] == hash && m_keys[slot] == key)
                return false;
        m_keys[slot] = key;
        m_hashes[slot] = hash;
        ++m_size;
        return true;
    }

    void Rehash(std::size_t slots)
    {
        std::vector<Key> keys(slots);
        std::vector<std::uint64_t> hashes(slots, 0);
        keys.swap(m_keys);
        hashes.swap(m_hashes);
        m_mask = slots - 1;
        m_size = 0;
        for (std::size_t i = 0; i < keys.size(); ++i)
            if (hashes[i])
                Insert(keys[i], hashes[i]);
    }

    std::vector<Key> m_keys;
    std::vector<std::uint64_t> m_hashes;
    std::size_t m_size = 0;
    std::size_t m_mask = 0;
};
