#pragma once
#include <KvNodeDefine/KvExport.h>
#include <KvNodeDefine/SteelSystem.h>
#include <appframe/CObject.h>
#include <appframe/CString.h>

#include <string>
#include <type_traits>
#include <vector>

class CXMLBase;

// Every attribute a descriptor's refresh pair writes or reads goes through
// WriteAtt and ReadAtt with its type. Running a fresh object's pair while a
// probe listens therefore lists a class's attributes (AttributesOf): the
// classes are the one list of the format, and tools keep no copy.
enum class AttType {
    Text,
    Integer,     // one number by the atoi rule
    Enumeration, // an integer with a table of the values and their texts
    IntegerList, // comma-separated integers, each by the atoi rule
    NumberList,  // comma-separated reals, each by the atof rule
};

// how an attribute's text is read, and for an enumeration its table
struct AttSpec {
    AttType type; // the reading rule
    const SteelSystem::EnumTable* table = nullptr; // an enumeration's values
};

// No table for an enumeration the host owns: its values are the host's codes.
inline const SteelSystem::EnumTable* EnumTableOf(...) { return nullptr; }

// an enumeration with the library's table, or an integer code of the host's
template <class E>
AttSpec EnumSpec(E value)
{
    static_assert(std::is_enum<E>::value, "an enumeration");
    const SteelSystem::EnumTable* table = EnumTableOf(value);
    return table ? AttSpec{AttType::Enumeration, table} : AttSpec{AttType::Integer};
}

KVNODE_API void WriteAtt(CXMLBase& object, const char* name, AttSpec reading, const CString& text);
// false (and text empty) when the attribute is missing
KVNODE_API bool ReadAtt(const CXMLBase& object, const char* name, AttSpec reading, CString& text);

// one attribute of a class, as AttributesOf lists it
struct AttributeInfo {
    std::string name; // as written in the XML
    AttSpec reading;     // the rule its reader applies
    bool written = false; // by a save of a fresh object (a construction: of any type)
    bool read = false;    // by the class's load
};

// The attributes of cls's objects, in the order a save writes them (for a
// construction "type" and then its whole table, whatever the type); the
// reading is the rule the class reads it by. Empty for a class whose objects
// have no fixed attributes, and for a class that is not a CXMLBase.
KVNODE_API std::vector<AttributeInfo> AttributesOf(CRuntimeClass* cls);
