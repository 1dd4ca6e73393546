#pragma once
// The canonical order of attributes that `kvnode fmt` writes, so that two
// files with the same content format alike: classtype, then the class's own
// attributes in the order the class writes them (a construction's whole
// table, whatever its type), then those the class does not know, in the
// order they were read. The library itself keeps the order it read.
#include <xmlobj/CXMLDocument.h>

namespace kvnode {

// Runs each descriptor's save side (as a save would) and puts every known
// object's attributes in that order; unknown elements stay as they were read.
void PutAttributesInCanonicalOrder(CXMLDocument& doc);

} // namespace kvnode
