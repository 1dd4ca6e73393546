#pragma once
// What the descriptor tests share: loading a document from text, finding an
// object in it, saving it, and reading attribute lists.
#include <appframe/CString.h>
#include <arx/AcArray.h>
#include <xmlobj/CXMLDocument.h>
#include <xmlobj/ObjIterator.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kvtest {

using Names = std::vector<std::string>;
using AttPairs = std::vector<std::pair<std::string, std::string>>;

inline std::string Str(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }

// The root of doc if it is a T, else the root's first direct child that is one.
template <class T>
T* FirstOf(const CXMLDocument& doc)
{
    CXMLBase* root = doc.GetRoot();
    if (!root || root->IsKindOf(T::GetThisClass()))
        return static_cast<T*>(root);
    T* found = nullptr;
    ObjIterator* it = root->CreateIterator();
    for (it->First(); !found && !it->IsDone(); it->Next())
        if (it->CurrentItem() && it->CurrentItem()->IsKindOf(T::GetThisClass()))
            found = static_cast<T*>(it->CurrentItem());
    root->DeleteIterator(it);
    return found;
}

// Loads text into doc and returns FirstOf<T>; null fails the test.
template <class T>
T* LoadFirst(CXMLDocument& doc, const std::string& text)
{
    EXPECT_TRUE(doc.LoadXml(text.data(), text.size())) << doc.GetErrorText();
    T* found = FirstOf<T>(doc);
    EXPECT_TRUE(found) << "no " << T::GetThisClass()->m_lpszClassName << " in " << text;
    return found;
}

// Saves doc, which runs every descriptor's save refresh, and returns the text.
inline std::string Save(const CXMLDocument& doc)
{
    std::string out;
    EXPECT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
    return out;
}

// The object's attribute list, in list order.
inline AttPairs Atts(const CXMLBase& object)
{
    AttPairs pairs;
    const CStringArray& list = object.GetAttList();
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        pairs.emplace_back(Str(list[i]), Str(list[i + 1]));
    return pairs;
}

inline Names AttNames(const CXMLBase& object)
{
    Names names;
    for (const auto& pair : Atts(object))
        names.push_back(pair.first);
    return names;
}

// An attribute's text, or nothing when the list lacks it.
inline std::optional<std::string> Att(const CXMLBase& object, const char* name)
{
    CString value;
    return object.GetAttText(name, value) ? std::optional<std::string>(Str(value)) : std::nullopt;
}

inline Names Strings(const CStringArray& array)
{
    Names out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        out.push_back(Str(array[i]));
    return out;
}

template <class T, class R>
std::vector<T> Elements(const AcArray<T, R>& array)
{
    return std::vector<T>(array.asArrayPtr(), array.asArrayPtr() + array.length());
}

} // namespace kvtest
