#pragma once
// Where a cursor stands in a buffer as it is being typed, read from the
// text alone (it need not be a document yet): the elements open around it,
// and whether it is in a tag's element name, an attribute's name or an
// attribute's value, with the word typed so far.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kvnode {

struct OpenElement {
    std::string element; // as written
    std::string name;    // its "name" attribute (UTF-8), empty when it has none
};

struct CursorContext {
    enum class Where { Content, ElementName, AttributeName, AttributeValue, Elsewhere };

    Where where = Where::Elsewhere; // Elsewhere: a comment, instruction, CDATA or end tag
    std::vector<OpenElement> open;  // around the cursor, outermost first (not the tag it is in)
    // the tag the cursor is in, its attributes (for a name: all but the one
    // typed; else those before the cursor), and the one whose value holds the cursor
    std::string element;
    std::vector<std::pair<std::string, std::string>> attributes;
    std::string attribute;
    size_t valueStart = 0; // of the value holding the cursor
    size_t wordStart = 0;  // of what is being typed: a name, a value, or a list's item

    // the context of offset in text, reading the text before it
    static CursorContext Of(const std::string& text, size_t offset);
};

} // namespace kvnode
