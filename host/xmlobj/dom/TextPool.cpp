#include "TextPool.h"

#include <mutex>
#include <string>
#include <unordered_map>

namespace {

// The immortal copy of a short attribute name, one per process (up to a
// bound). The pools of the threads hold copies of these: immortal copies
// made by a pool itself would be lost, never freed, when its thread ends.
bool SharedName(const char* name, size_t length, CString& out)
{
    constexpr size_t kMaxNames = 4096;
    static auto* lock = new std::mutex;
    static auto* names = new std::unordered_map<std::string, CString>;
    std::lock_guard<std::mutex> guard(*lock);
    auto it = names->find(std::string(name, length));
    if (it == names->end()) {
        if (names->size() >= kMaxNames)
            return false;
        it = names->emplace(std::string(name, length), CString::Immortal(name, static_cast<int>(length))).first;
    }
    out = it->second;
    return true;
}

// Attribute names repeat on every element: each thread keeps a copy of each
// short name it meets (up to a bound), so reading an attribute allocates

} // namespace

CString NamePool::Get(const char* name, size_t length)
{
    if (length > kMaxLength)
        return CString(name, static_cast<int>(length));
    const size_t h = HashText(name, length);
    for (size_t probe = 0; probe < kSlots; ++probe) {
        Slot& s = m_slots[(h + probe) % kSlots];
        if (s.name.IsEmpty()) {
            if (m_used >= kSlots / 2 || !SharedName(name, length, s.name))
                break;
            ++m_used;
            return s.name;
        }
        if (static_cast<size_t>(s.name.GetLength()) == length && SameBytes(s.name.GetString(), name, length))
            return s.name;
    }
    return CString(name, static_cast<int>(length));
}

NamePool& NamePool::OfThisThread()
{
    thread_local NamePool pool;
    return pool;
}

CString TextPool::Make(const char* text, size_t length)
{
    if (length > 0)
        m_allocated += (sizeof(CString::Data) + length + 1 + 8 + 15) / 16 * 16;
    return CString(text, static_cast<int>(length));
}

CString TextPool::Get(const char* text, size_t length)
{
    if (length == 0 || length > kMaxLength)
        return Make(text, length);
    if (!m_slots) {
        m_slots.reset(new Slot[kSlots]);
        m_allocated += kSlots * sizeof(Slot);
    }
    const std::uint32_t h = HashText(text, length);
    for (size_t probe = 0; probe < kMaxProbes; ++probe) {
        Slot& s = m_slots[(h + probe) % kSlots];
        if (s.text.IsEmpty()) {
            if (m_used >= kSlots / 4 * 3)
                break;
            ++m_used;
            s.hash = h;
            s.text = Make(text, length);
            return s.text;
        }
        if (s.hash == h && static_cast<size_t>(s.text.GetLength()) == length &&
            SameBytes(s.text.GetString(), text, length))
            return s.text;
    }
    return Make(text, length);
}
