#pragma once
// Why the parser stopped, said for an engineer, and what it cannot see.
#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class TextPlaces;

// GBK trail bytes that are ASCII but no name character ('@', '[', ']'
// ...) would stop the parser inside a name, and a ']' could close a CDATA
// section inside a character: the parser sees them as this byte (never a
// trail byte, always a name character), and each text has them put back
// as it is read.
constexpr char kHiddenTrail = '\xFF';

// What the end of the file cut short, which element is still open, where a
// declaration stood; offset and path are set to the place to report.
std::string ExplainParseError(const pugi::xml_parse_result& parsed, TextPlaces& places, size_t& offset,
                              std::string& path);
// The offset of the name of the first end tag whose name the hiding made
// match its element's, or npos; text as the parser will see it, with the
// hidden bytes (offset in it, the byte) in order.
size_t FindHiddenEndTagMismatch(const char* text, size_t size, const std::vector<std::pair<size_t, char>>& hiddenTrails);
