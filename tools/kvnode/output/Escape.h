#pragma once
// How the tool prints text that comes from a file (names, values, messages
// about them, file names): nothing in it can pass for a line of the tool's
// own or drive the terminal. Control characters are written as escapes
// (\n, \x1B, \u0085), so are the characters that reorder a line on screen
// (\u202E) and bytes that are not UTF-8 (\xFF); the rest as it is.
#include <cstddef>
#include <string>

namespace kvnode {

// One character of a UTF-8 text as printed.
struct ShownCharacter {
    std::string text; // the character, or its escape
    int width;        // the terminal columns it takes (East Asian wide characters two)
    size_t length;    // the bytes of the text it stands for
    bool tab = false; // a tab kept as it is, as wide as the terminal makes it
};
// the character at text[at]; a tab stays a tab when keepTab (a caret line copies it)
ShownCharacter ShowCharacter(const std::string& text, size_t at, bool keepTab = false);
// every character of text as printed
std::string Printable(const std::string& text);
// a text as a JSON string, quotes included: valid UTF-8 whatever text holds
std::string JsonString(const std::string& text);

} // namespace kvnode
