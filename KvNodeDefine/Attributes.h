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
    Character,   // one character: the first byte is kept, the rest dropped
    Keyword,     // one of a table's texts, compared exactly; any other text reads as the table's last row
};

// How an attribute's text is read, and what it stands for: what tools need
// to tell a text the host reads otherwise than written, a name that leads
// nowhere, or a value the host needs and lacks.
struct AttSpec {
    // a reading rule, and an enumeration's or a keyword's table
    constexpr AttSpec(AttType type_ = AttType::Text, const SteelSystem::EnumTable* table_ = nullptr)
        : type(type_), table(table_)
    {
    }

    AttType type; // the reading rule
    // Enumeration: its values and texts. Keyword: its texts, the last row
    // what any other text reads as. IntegerList: texts read as a whole before
    // the list rule applies (a member's "linkplanes" of exactly "0").
    const SteelSystem::EnumTable* table = nullptr;
    // what an empty or missing text reads as, where that is not what the
    // rule makes of it ("-1" for a variable's "type", "g" for its "formattype")
    const char* ifEmpty = nullptr;
    // the class of descriptor a text names (CBaseDesc's: a descriptor of any
    // class), or null for a text that names none
    CRuntimeClass* names = nullptr;
    bool list = false;   // names separated by commas
    bool needed = false; // the host needs a value: an empty text leaves it nothing to build with
};

namespace kvnodedefine {

// a text naming a descriptor of cls (RUNTIME_CLASS(CBaseDesc): of any class)
constexpr AttSpec NameOf(CRuntimeClass* cls, bool needed)
{
    AttSpec spec;
    spec.names = cls;
    spec.needed = needed;
    return spec;
}
// comma-separated names of descriptors of cls, at least one
constexpr AttSpec NameListOf(CRuntimeClass* cls)
{
    AttSpec spec = NameOf(cls, true);
    spec.list = true;
    return spec;
}
// a text or expression the host needs to build the descriptor (a part's size)
constexpr AttSpec Needed()
{
    AttSpec spec;
    spec.needed = true;
    return spec;
}
// what reads type's rule, and reads ifEmpty for an empty or missing text
constexpr AttSpec OrIfEmpty(AttType type, const char* ifEmpty)
{
    AttSpec spec(type);
    spec.ifEmpty = ifEmpty;
    return spec;
}

} // namespace kvnodedefine

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

namespace kvnodedefine {

// one attribute as a save of an object writes it
struct SavedAttribute {
    std::string name; // as written in the XML
    AttSpec reading;  // how it is read, and what it names
    CString text;     // what the field holds, as the save writes it
};

// What a save of object would write, in order: the attributes its fields
// call for (a construction: those of its type), each with the text its field
// gives, which is what the host reads. A copy of the object is loaded from
// its attributes and saved; the object is not changed. Empty for an object
// of no registered class, or one whose attributes are free.
KVNODE_API std::vector<SavedAttribute> SavedAttributesOf(const CXMLBase& object);

} // namespace kvnodedefine
