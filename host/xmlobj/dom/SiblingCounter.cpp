#include "SiblingCounter.h"

#include "TextPool.h"

#include <cstring>

int SiblingCounter::IndexOf(pugi::xml_node child)
{
    while (m_lastCounted != child && m_next)
        CountNext();
    return m_lastCounted == child ? m_lastIndex : 0;
}

void SiblingCounter::CountBefore(pugi::xml_node child)
{
    while (m_next && m_next != child)
        CountNext();
}

void SiblingCounter::CountNext()
{
    const pugi::xml_node n = m_next;
    m_next = n.next_sibling();
    if (n.type() == pugi::node_element) {
        m_lastCounted = n;
        m_lastIndex = Next(n.name());
    }
}

int SiblingCounter::Next(const char* name)
{
    const std::size_t length = std::strlen(name);
    if (m_last && m_last->length == length && SameBytes(m_last->name, name, length))
        return ++m_last->count;
    if (m_table.empty())
        m_table.resize(8);
    else if (2 * (m_used + 1) > m_table.size())
        Grow();
    const std::uint32_t hash = HashText(name, length);
    Entry* e = Find(name, length, hash);
    if (!e->name) {
        *e = {name, length, hash, 0};
        ++m_used;
    }
    m_last = e;
    return ++e->count;
}

SiblingCounter::Entry* SiblingCounter::Find(const char* name, std::size_t length, std::uint32_t hash)
{
    for (std::size_t i = hash & (m_table.size() - 1);; i = (i + 1) & (m_table.size() - 1)) {
        Entry& e = m_table[i];
        if (!e.name || (e.hash == hash && e.length == length && SameBytes(e.name, name, length)))
            return &e;
    }
}

void SiblingCounter::Grow()
{
    std::vector<Entry> old(m_table.size() * 2, Entry{});
    old.swap(m_table);
    for (const Entry& e : old)
        if (e.name)
            *Find(e.name, e.length, e.hash) = e;
    m_last = nullptr;
}
