#pragma once
// The Python value of each kind of field a getter returns, and back: texts
// are str, numbers and enumerations int, flags bool, a format character a
// str of one character, the integer arrays lists of int. The same kinds give
// the text an attribute holds, for the fields without a setter, and the type
// the stubs name.
#include "Texts.h"

#include <KvNodeDefine/TextConvert.h>
#include <appframe/CStringArray.h>
#include <arx/AcArray.h>

#include <pybind11/pybind11.h>

#include <string>
#include <type_traits>

namespace kvpy {

// an int that fits in 32 bits; TypeError or OverflowError otherwise
int ToInt(pybind11::handle value);
// True or False only
bool ToBool(pybind11::handle value);
// a str of one ASCII character
char ToChar(pybind11::handle value);
pybind11::list ToList(const CStringArray& items);

template <class V>
struct Value;

template <>
struct Value<CString> {
    static constexpr const char* kType = "str";
    static pybind11::object ToPython(const CString& v) { return FromText(v); }
    static CString FromPython(pybind11::handle h) { return ToText(h); }
    static CString AttText(const CString& v) { return v; }
    static CString Sample() { return "kvprobe"; }
};

template <>
struct Value<bool> {
    static constexpr const char* kType = "bool";
    static pybind11::object ToPython(bool v) { return pybind11::bool_(v); }
    static bool FromPython(pybind11::handle h) { return ToBool(h); }
    static CString AttText(bool v) { return v ? "1" : "0"; }
    static bool Sample() { return false; } // what a field reads from a missing attribute is true
};

template <>
struct Value<char> {
    static constexpr const char* kType = "str";
    static pybind11::object ToPython(char v) { return FromText(std::string_view(&v, 1)); }
    static char FromPython(pybind11::handle h) { return ToChar(h); }
    static CString AttText(char v) { return CString(&v, 1); }
    static char Sample() { return 'k'; }
};

// int and the enumerations, which hold any 32-bit value
template <class V>
struct Value {
    static_assert(std::is_integral<V>::value || std::is_enum<V>::value, "a field of a kind the module knows");
    static constexpr const char* kType = "int";
    static pybind11::object ToPython(V v) { return pybind11::int_(static_cast<int>(v)); }
    static V FromPython(pybind11::handle h) { return static_cast<V>(ToInt(h)); }
    static CString AttText(V v) { return IntToText(static_cast<int>(v)); }
    static V Sample() { return static_cast<V>(7); }
};

template <class T, class R>
struct Value<AcArray<T, R>> {
    static constexpr const char* kType = "list[int]";
    static pybind11::object ToPython(const AcArray<T, R>& v)
    {
        pybind11::list list(v.length());
        for (int i = 0; i < v.length(); ++i)
            list[i] = pybind11::int_(static_cast<int>(v[i]));
        return std::move(list);
    }
    static AcArray<T, R> FromPython(pybind11::handle h)
    {
        if (PyUnicode_Check(h.ptr()) || PyBytes_Check(h.ptr()))
            throw pybind11::type_error("a list of int, not a text");
        AcArray<T, R> v;
        for (pybind11::handle item : pybind11::iter(h))
            v.append(static_cast<T>(ToInt(item)));
        return v;
    }
    static CString AttText(const AcArray<T, R>& v) { return IntListToText(v); }
    static AcArray<T, R> Sample()
    {
        AcArray<T, R> v;
        v.append(static_cast<T>(7));
        v.append(static_cast<T>(-8));
        return v;
    }
};

// what a field holds, as bytes to compare: tells which attribute a field is read from
template <class V>
std::string Fingerprint(const V& v)
{
    return Value<V>::AttText(v).GetString();
}

} // namespace kvpy
