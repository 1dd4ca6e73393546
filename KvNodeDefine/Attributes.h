#pragma once
#include <KvNodeDefine/EnumTable.h>
#include <KvNodeDefine/KvExport.h>
#include <appframe/CObject.h>
#include <appframe/CString.h>

#include <string>
#include <vector>

class CXMLBase;

// Every attribute a descriptor's refresh pair writes or reads goes through
// WriteAtt and ReadAtt with the rule its text is read by. Running a fresh
// object's conversions while a probe listens therefore lists a class's
// attributes (AttributesOf): the classes are the one list of the format, and
// tools keep no copy of it.
namespace kvnodedefine {

// The rule an attribute's text is read by.
enum class AttType {
    Text,        // kept as it stands
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
    constexpr AttSpec(AttType type_ = AttType::Text, const EnumTable* table_ = nullptr)
        : type(type_), table(table_)
    {
    }

    AttType type; // the reading rule
    // Enumeration: its values and texts. Keyword: its texts, the last row
    // what any other text reads as. IntegerList: texts read as a whole before
    // the list rule applies (a member's "linkplanes" of exactly "0").
    const EnumTable* table = nullptr;
    // what an empty or missing text reads as, where that is not what the
    // rule makes of it ("-1" for a variable's "type", "g" for its "formattype")
    const char* ifEmpty = nullptr;
    // the class of descriptor a text names (CBaseDesc's: a descriptor of any
    // class), or null for a text that names none
    CRuntimeClass* names = nullptr;
    bool list = false;   // names separated by commas
    bool needed = false; // the host needs a value: an empty text leaves it nothing to build with
};

// a text naming a descriptor of cls (RUNTIME_CLASS(CBaseDesc): of any class)
constexpr AttSpec NameOf(CRuntimeClass* cls, bool needed)
{
    AttSpec reading;
    reading.names = cls;
    reading.needed = needed;
    return reading;
}
// comma-separated names of descriptors of cls, at least one
constexpr AttSpec NameListOf(CRuntimeClass* cls)
{
    AttSpec reading = NameOf(cls, true);
    reading.list = true;
    return reading;
}
// a text or expression the host needs to build the descriptor (a part's size)
constexpr AttSpec Needed()
{
    AttSpec reading;
    reading.needed = true;
    return reading;
}
// what reads type's rule, and reads ifEmpty for an empty or missing text
constexpr AttSpec OrIfEmpty(AttType type, const char* ifEmpty)
{
    AttSpec reading(type);
    reading.ifEmpty = ifEmpty;
    return reading;
}

// Sets the attribute name of object to text (SetAttText), telling a probe
// that listens how it is read. A class of the host's own that derives from
// a descriptor writes its attributes through this to have them listed.
KVNODE_API void WriteAtt(CXMLBase& object, const char* name, AttSpec reading, const CString& text);
// Copies the attribute name of object into text (GetAttText), telling a
// probe that listens how it is read; false, text emptied, when the attribute is missing.
KVNODE_API bool ReadAtt(const CXMLBase& object, const char* name, AttSpec reading, CString& text);

// What a load does after reading object's attribute list: its fields read
// from the list by the class's own conversions (a descriptor's
// RefreshMemberWithAttList; the root reads its version in Serialize alone,
// its refresh pair doing nothing). Children are not touched.
KVNODE_API void ReadFieldsFromAttributes(CXMLBase& object);
// What a save does before writing object's attribute list: its fields
// written into the list by the class's own conversions, as above.
KVNODE_API void WriteFieldsToAttributes(CXMLBase& object);

// One attribute of a class, as AttributesOf lists it.
struct AttributeInfo {
    std::string name;     // as written in the XML
    AttSpec reading;      // the rule its reader applies
    bool written = false; // by a save of an object whose fields are set (a construction: of some type)
    bool read = false;    // by the class's load
    // Left out of a save while its field holds what an empty text reads as
    // (a member's "sectdesc" and "directused", a variable's "type").
    bool writtenOnlyWhenSet = false;
    // A construction's attribute of some types only: the types whose save
    // writes it. Empty for one that every type writes ("name", "type") and
    // for the attributes of other classes.
    std::vector<int> writtenForTypes;
};

// The attributes of cls's objects, in the order a save writes them (for a
// construction "type" and then its whole table, whatever the type). The
// probe runs a fresh object's Serialize with no document, as a load and as a
// save: the object converts its fields as ever, and the XML object library,
// with nothing to read or write, does nothing. Empty for a class whose
// objects have no fixed attributes, and for a class that is not a CXMLBase.
KVNODE_API std::vector<AttributeInfo> AttributesOf(CRuntimeClass* cls);

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
