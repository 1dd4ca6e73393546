#pragma once
// The attribute names of the last four kinds of element read or written of
// a class with as many attributes: such elements mostly carry the same names
// in the same order (optional attributes make other kinds), so a load that
// matches them takes them interned without the name pool, and neither a
// load nor a save checks them again (for duplicates, a save for valid XML
// and GBK too).
#include <appframe/CObject.h>
#include <appframe/CString.h>

#include <algorithm>
#include <cstdint>
#include <vector>

class RecentNameLists {
public:
    struct Run {
        std::uint64_t key = 0;
        std::vector<CString> names;
        size_t classTypeAt = 0;  // where "classtype" is among them (names.size() when absent)
        bool plainNames = false; // a save: all of them printable ASCII
    };

    // the run of owner with count names that matches, made the first of its set; null when none does
    template <class Matches>
    Run* Find(const CRuntimeClass* owner, size_t count, Matches matches)
    {
        const std::uint64_t key = Key(owner, count);
        Run* set = SetOf(key);
        for (size_t i = 0; i < kWays; ++i) {
            if (set[i].key == key && set[i].names.size() == count && matches(set[i])) {
                std::rotate(set, set + i, set + i + 1);
                return &set[0];
            }
        }
        return nullptr;
    }

    // an empty run of owner with count names, first of its set, in place of the one used longest ago
    Run& New(const CRuntimeClass* owner, size_t count)
    {
        const std::uint64_t key = Key(owner, count);
        Run* set = SetOf(key);
        std::rotate(set, set + kWays - 1, set + kWays);
        set[0].key = key;
        set[0].names.clear();
        return set[0];
    }

private:
    static constexpr unsigned kSetBits = 6;
    static constexpr size_t kWays = 4;
    Run m_runs[kWays << kSetBits]; // sets of four, the one used last first
    static std::uint64_t Key(const CRuntimeClass* owner, size_t count) noexcept
    {
        return reinterpret_cast<std::uintptr_t>(owner) ^ (std::uint64_t{count} << 48);
    }
    Run* SetOf(std::uint64_t key) noexcept
    {
        return &m_runs[kWays * ((key * 0x9E3779B97F4A7C15ull) >> (64 - kSetBits))];
    }
};
