#pragma once
// Where a byte of the parsed text stood in the text as read. Places are
// asked for in document order: a walk over the text carries on from the
// last one, counting how many bytes each character became in the parsed
// text, so that no text is converted again and a load stays one pass.
#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/XmlEncoding.h>

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>

class TextPlaces {
public:
    // The text as read, inputSize bytes after a byte-order mark of inputMark bytes, in inputEncoding.
    TextPlaces(const char* input, size_t inputSize, size_t inputMark, XmlEncoding inputEncoding) noexcept;
    // The GBK text that the parser reads in place.
    void SetParsed(const char* base, size_t size) noexcept
    {
        parsedBase = base;
        parsedSize = size;
    }

    // the text as read (after any byte-order mark), its encoding, and the parsed text
    std::string_view Input() const noexcept { return {input, inputSize}; }
    XmlEncoding InputEncoding() const noexcept { return inputEncoding; }
    std::string_view Parsed() const noexcept { return {parsedBase, parsedSize}; }

    // the offset of place in the parsed text, 0 when it lies outside
    size_t OffsetOf(const char* place) const noexcept;
    // line and column, and the offset in the bytes the load was given, of a byte of the parsed text
    XmlPosition PositionOf(size_t offset);
    void Position(size_t offset, int& line, int& column);
    // where element (or a text, comment...) starts, at its '<'; 0 and 0 when unknown
    void ElementPosition(pugi::xml_node element, int& line, int& column);
    // where the character at index of a parsed value stood in the text as read
    const char* SourcePlace(const char* value, size_t index);
    // "opened at line 3, column 5"
    std::string OpenedAt(size_t offset);
    // where node, and an element's name and attributes, stand
    void Mark(pugi::xml_node node, XmlMarkup& markup);
    // the GBK text as it was before parsing, for explaining a failure or
    // recording where attributes end: converted again the first time one
    // is asked, so that a load converts only once
    const std::string& Source();

private:
    const char* input;
    size_t inputSize;
    size_t inputMark;
    XmlEncoding inputEncoding;
    const char* parsedBase = nullptr;
    size_t parsedSize = 0;
    struct Cursor {
        size_t parsed = 0, input = 0;
        int line = 1, column = 1;
    };
    Cursor m_cursor;
    std::string m_source;
    // the offset just past the first terminator at or after from, or the end of the text
    size_t OffsetPast(size_t from, std::string_view terminator);
};
