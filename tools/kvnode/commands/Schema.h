#pragma once
// An XML Schema (XSD 1.0) of the format, made from the classes' own
// attribute and enumeration tables (Catalogue.h): what `kvnode schema` prints.
#include <string>

namespace kvnode {

std::string SchemaText();

} // namespace kvnode
