#pragma once
// Where things are, for messages: the line and column of an offset in a
// text, and the paths of elements and objects.
#include <xmlobj/XmlEncoding.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CXMLBase;

// line and column (from 1, columns counting characters) of a byte offset in a text
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column);
// the bytes of the character at offset at of a valid text in encoding (at least 1)
size_t CharacterLength(const char* text, size_t size, size_t at, XmlEncoding encoding) noexcept;
std::string ObjectPath(const CXMLBase* object);
// a step of a path: the element's name and its index among same-named
// siblings, asked for only when the step is shown
struct PathStep {
    std::string name;
    std::function<int()> index;
};
// CNodeAttDef/CNodeTypeDesc[2]/CPlateDesc[1]; the middle of a very deep path is left out
std::string PathText(const std::vector<PathStep>& steps);
