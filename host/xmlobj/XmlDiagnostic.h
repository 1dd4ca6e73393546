#pragma once
// What a load or a save reports, and where in the text a loaded object stands.
#include <appframe/CString.h>
#include <appframe/HostExport.h>

#include <cstddef>
#include <string>
#include <vector>

// A finding about a document: where it is and what it says. Plain data that
// each module compiles itself; only Format comes from the library.
struct XmlDiagnostic {
    std::string file;    // the file's name, "<memory>" for a text given by LoadXml
    int line = 0;        // from 1; 0 when there is no place (a file that cannot be opened)
    int column = 0;      // from 1, counting characters; 0 when there is no place
    std::string message; // what is wrong, in English
    std::string path;    // the element's path, as in CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]; may be empty
    // "file:line:column: message (in path)", leaving out what is not known;
    // control characters escaped as \\xNN (ESC as \\x1B).
    KVHOST_API std::string Format() const;
};

// A place in the text a document was read from. The offset counts bytes
// from the start of the bytes the load was given (a byte-order mark
// included), so that a caller holding them finds the place in them.
struct XmlPosition {
    int line = 0;      // from 1; 0 when unknown
    int column = 0;    // from 1, counting characters (as SARIF's unicodeCodePoints and editors do); 0 when unknown
    size_t offset = 0; // in bytes from the start of what the load was given
};

// From start to just past the end: an empty range has start == end.
struct XmlRange {
    XmlPosition start; // the first character
    XmlPosition end;   // just past the last character
};

// An attribute as it is written: its name, where the name stands and where
// its value stands, between the quotes, references unexpanded.
struct XmlAttributeMarkup {
    CString name;          // as written, GBK
    XmlRange nameRange;    // the name
    XmlRange valueRange;   // the value between the quotes
};

// Where an object stands in the text it was read from.
struct XmlMarkup {
    // An element's start tag, from '<' to just past its '>'; all of a text,
    // comment, processing instruction or CDATA section, markup included.
    XmlRange range;
    XmlRange nameRange; // an element's name as written
    // every attribute of an element in the order written (the library's
    // own, such as classtype, too)
    std::vector<XmlAttributeMarkup> attributes;
};
