#pragma once
// Small helpers shared by the descriptor tests: reading a descriptor from an
// XML text, setting attributes as a load would, and turning the library's
// containers into standard ones that GoogleTest compares and prints.
#include <KvNodeDefine/KvNodeDefine.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace kvtest {

inline std::string Str(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }

// The root of an XML text, which must load and be a T; null (with a test failure) otherwise.
template <class T>
std::unique_ptr<T> Load(const std::string& xml)
{
    CXMLDocument doc;
    if (!doc.LoadXml(xml.data(), xml.size())) {
        ADD_FAILURE() << doc.GetErrorText() << "\n" << xml;
        return nullptr;
    }
    std::unique_ptr<CXMLBase> root(doc.DetachRoot());
    if (!root->IsKindOf(T::GetThisClass())) {
        ADD_FAILURE() << "root is a " << root->GetRuntimeClass()->m_lpszClassName;
        return nullptr;
    }
    return std::unique_ptr<T>(static_cast<T*>(root.release()));
}

// The document text of a tree that stays the caller's.
inline std::string SaveTree(CXMLBase& root)
{
    CXMLDocument doc;
    doc.SetRoot(&root);
    std::string xml;
    EXPECT_TRUE(doc.SaveXml(xml)) << doc.GetErrorText();
    doc.DetachRoot();
    return xml;
}

// Sets attributes as a load reads them, then refreshes the fields.
inline void Reload(CXMLBase& object, std::initializer_list<std::pair<const char*, const char*>> atts)
{
    for (const auto& att : atts)
        object.SetAttText(att.first, att.second);
    object.RefreshMemberWithAttList();
}

// The attributes of an object as name and text, in attribute list order.
inline std::vector<std::pair<std::string, std::string>> AttPairs(const CXMLBase& object)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    const CStringArray& list = object.GetAttList();
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        pairs.emplace_back(Str(list[i]), Str(list[i + 1]));
    return pairs;
}

inline std::vector<std::string> AttNames(const CXMLBase& object)
{
    std::vector<std::string> names;
    for (const auto& att : AttPairs(object))
        names.push_back(att.first);
    return names;
}

// A descriptor whose attribute list can be forgotten, to see what a save
// writes from the fields alone, in its own order.
template <class T>
class Fresh : public T {
public:
    std::vector<std::pair<std::string, std::string>> SavedAtts()
    {
        this->m_AttList.RemoveAll();
        this->RefreshAttListWithMember();
        return AttPairs(*this);
    }
};

// An attribute's text, or nothing when the list lacks it.
inline std::optional<std::string> Att(const CXMLBase& object, const char* name)
{
    CString value;
    if (!object.GetAttText(name, value))
        return std::nullopt;
    return Str(value);
}

inline std::vector<std::string> Strings(const CStringArray& items)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        out.push_back(Str(items[i]));
    return out;
}

// Elements as values; enumerations as int.
template <class T, class R, class V = std::conditional_t<std::is_enum<T>::value, int, T>>
std::vector<V> Elements(const AcArray<T, R>& items)
{
    std::vector<V> out;
    for (int i = 0; i < items.length(); ++i)
        out.push_back(static_cast<V>(items[i]));
    return out;
}

// The names of borrowed descriptors.
template <class T, class R>
std::vector<std::string> Names(const AcArray<T*, R>& items)
{
    std::vector<std::string> out;
    for (int i = 0; i < items.length(); ++i)
        out.push_back(items[i] ? Str(items[i]->GetName()) : "(null)");
    return out;
}

// The GBK text of a UTF-8 literal, as the library holds it after reading a UTF-8 file.
inline CString Gbk(const char* utf8)
{
    std::string out;
    TextError error;
    EXPECT_TRUE(ConvertToGbk(utf8, std::char_traits<char>::length(utf8), XmlEncoding::Utf8, out, error)) << error.message;
    return CString(out.data(), static_cast<int>(out.size()));
}

} // namespace kvtest
