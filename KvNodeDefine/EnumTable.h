#pragma once
#include <KvNodeDefine/KvExport.h>

namespace kvnodedefine {

// One value of an enumeration with the text tools show for it.
struct EnumText {
    int value;        // the number a document holds
    const char* text; // its display text, GBK
};

// The display texts of one enumeration, one row per value in value order
// from 0, the catch-all entry (if any) last. Descriptors never store or read
// these texts: a document holds the number.
struct KVNODE_API EnumTable {
    const EnumText* rows; // the rows, in value order
    int count;            // how many rows there are
    // the text of a value, or null for a value outside the enumeration
    const char* TextOf(int value) const noexcept;
};

} // namespace kvnodedefine
