#pragma once
// What the refresh pairs write and read their fields with (inside the
// library): each helper hands WriteAtt and ReadAtt the attribute's type,
// picked from the field's C++ type, so that AttributesOf hears it.
#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/SteelSystem.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLBase.h>

#include <cstddef>
#include <type_traits>

namespace kvnodedefine {

// the table of an enumeration's rows
template <std::size_t N>
EnumTable TableOf(const EnumText (&rows)[N]) noexcept
{
    return EnumTable{rows, static_cast<int>(N)};
}

// No table for an enumeration the host owns: its values are the host's codes.
inline const EnumTable* EnumTableOf(...) noexcept { return nullptr; }
inline const EnumTable* EnumTableOf(SteelSystem::Material) noexcept { return &MaterialTable(); }
inline const EnumTable* EnumTableOf(SteelSystem::BoltGrade) noexcept { return &BoltGradeTable(); }
inline const EnumTable* EnumTableOf(SteelSystem::BoltType) noexcept { return &BoltTypeTable(); }

// an enumeration with the library's table, or an integer code of the host's
template <class E>
AttSpec EnumSpec(E value)
{
    static_assert(std::is_enum<E>::value, "an enumeration");
    const EnumTable* table = EnumTableOf(value);
    return table ? AttSpec{AttType::Enumeration, table} : AttSpec{AttType::Integer};
}

// The overload states the attribute's type, and its AttSpec what else it stands
// for; both sides of a refresh pair give an attribute the same.
inline void SetAtt(CXMLBase& o, const char* name, const CString& value, const AttSpec& reading = AttSpec())
{
    WriteAtt(o, name, reading, value);
}
inline void SetAtt(CXMLBase& o, const char* name, int value, const AttSpec& reading = AttSpec(AttType::Integer))
{
    WriteAtt(o, name, reading, IntToText(value));
}
template <class E, std::enable_if_t<std::is_enum<E>::value, int> = 0>
void SetAtt(CXMLBase& o, const char* name, E value)
{
    WriteAtt(o, name, EnumSpec(value), IntToText(value));
}
template <class T, class R>
void SetAtt(CXMLBase& o, const char* name, const AcArray<T, R>& values)
{
    WriteAtt(o, name, AttSpec{AttType::IntegerList}, IntListToText(values));
}

inline void GetAtt(const CXMLBase& o, const char* name, CString& field, const AttSpec& reading = AttSpec())
{
    ReadAtt(o, name, reading, field);
}
// the atoi rule; the AttSpec's ifEmpty for a missing or empty attribute
inline int GetAttInt(const CXMLBase& o, const char* name, const AttSpec& reading = AttSpec(AttType::Integer))
{
    CString text;
    ReadAtt(o, name, reading, text);
    return TextToInt(text.IsEmpty() && reading.ifEmpty ? reading.ifEmpty : text.GetString());
}
template <class E>
void GetAttEnum(const CXMLBase& o, const char* name, E& field)
{
    CString text;
    ReadAtt(o, name, EnumSpec(field), text);
    field = static_cast<E>(TextToInt(text));
}
// the items by the atoi rule, replacing what the array held
template <class T, class R>
void GetAttIntList(const CXMLBase& o, const char* name, AcArray<T, R>& field)
{
    CString text;
    ReadAtt(o, name, AttSpec{AttType::IntegerList}, text);
    AcArray<int> values;
    CNodeGlobal::SplitStringToIntArray(text, values);
    field.removeAll();
    for (int i = 0; i < values.length(); ++i)
        field.append(static_cast<T>(values[i]));
}

} // namespace kvnodedefine
