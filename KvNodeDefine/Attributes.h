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
};

// How an attribute's text is read, and for an enumeration its table.
struct AttSpec {
    AttType type;                    // the reading rule
    const EnumTable* table = nullptr; // an enumeration's values
};

// Sets the attribute name of object to text (SetAttText), telling a probe
// that listens how it is read. A class of the host's own that derives from
// a descriptor writes its attributes through this to have them listed.
KVNODE_API void WriteAtt(CXMLBase& object, const char* name, AttSpec reading, const CString& text);
// Copies the attribute name of object into text (GetAttText), telling a
// probe that listens how it is read; false, text emptied, when the attribute is missing.
KVNODE_API bool ReadAtt(const CXMLBase& object, const char* name, AttSpec reading, CString& text);

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

} // namespace kvnodedefine
