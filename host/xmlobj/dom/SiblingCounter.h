#pragma once
// Inside the object library only.
#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

// The children of one element, counted by name: each element's index among
// its same-named siblings, for the paths in messages. Counting waits until
// an index is asked for (most loads have no message), and a child is
// counted once, whatever the number of names: a load stays linear.
class SiblingCounter {
public:
    explicit SiblingCounter(pugi::xml_node element) : m_next(element.first_child()) {}
    // the index of child, from 1; it and its earlier siblings must not have
    // left the tree unless counted (CountBefore)
    int IndexOf(pugi::xml_node child);
    // counts the children before child, which are to leave the tree
    void CountBefore(pugi::xml_node child);
    // what its table of names takes
    std::size_t Bytes() const noexcept { return m_table.capacity() * sizeof(Entry); }

private:
    struct Entry {
        const char* name;
        std::size_t length;
        std::uint32_t hash;
        int count;
    };
    std::vector<Entry> m_table; // open addressing, a power of two in size
    std::size_t m_used = 0;
    Entry* m_last = nullptr;      // the name counted last: runs of one name are common
    pugi::xml_node m_next;        // the first child not counted
    pugi::xml_node m_lastCounted; // the last element counted, and its index
    int m_lastIndex = 0;

    void CountNext();
    int Next(const char* name);
    Entry* Find(const char* name, std::size_t length, std::uint32_t hash);
    void Grow();
};
