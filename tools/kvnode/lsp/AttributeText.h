#pragma once
// How completion and hover tell an author what an attribute takes, in words,
// from the reading the library gives it (AttSpec) and its class's tables.
#include "model/Catalogue.h"

#include <string>

namespace kvnode {

// the table that an attribute's values come from: an enumeration's, a
// keyword's, or a construction's types for its "type"; null for none
const EnumTable* ValueTable(const ClassInfo& info, const AttributeInfo& attribute);
// "integer", "names of planes, comma-separated"...
std::string ReadingText(const AttSpec& reading);
// a table's rows as Markdown list items: "- `3` Q345"
std::string TableText(const EnumTable& table, bool keyword);
// the row of a value as written, as "3  Q345" (empty: not one of the table's)
std::string RowText(const EnumTable& table, bool keyword, const std::string& value);

} // namespace kvnode
