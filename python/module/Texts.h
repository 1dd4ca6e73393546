#pragma once
// Python's str and the library's texts, which are GBK (code page 936) in
// memory: converted both ways by the library's own conversion, which holds
// what Windows holds (the euro sign at 0x80, the user-defined areas) where
// Python's "gbk" codec refuses it.
#include <appframe/CString.h>
#include <pybind11/pybind11.h>

#include <string>
#include <string_view>

namespace kvpy {

// The GBK text of a str; ValueError naming the first character that code
// page 936 cannot hold (or that XML cannot hold, as a control character),
// TypeError for anything but a str.
CString ToText(pybind11::handle value);
// The str of GBK text; ValueError for bytes that are no GBK characters.
pybind11::str FromText(std::string_view gbk);
inline pybind11::str FromText(const CString& text)
{
    return FromText(std::string_view(text.GetString(), static_cast<size_t>(text.GetLength())));
}
inline pybind11::str FromText(const char* gbk) { return FromText(std::string_view(gbk)); }
// The str of a message of the library, which quotes the document's texts as
// they are in memory (GBK); a byte that is no GBK character is shown escaped.
pybind11::str FromMessage(std::string_view message);
// The UTF-8 bytes of a str (cached by Python, so not copied).
std::string_view Utf8Of(pybind11::handle str);
// how a message names the character at byte offset of UTF-8 text: 'x' (U+0078)
std::string NameCharacterAt(std::string_view utf8, size_t offset);

} // namespace kvpy
