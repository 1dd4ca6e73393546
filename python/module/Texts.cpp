#include "Texts.h"

#include <xmlobj/XmlEncoding.h>

#include <cstdio>

namespace py = pybind11;

namespace kvpy {

namespace {

// printable ASCII and the blanks XML holds: the same bytes in every encoding
bool IsPlain(std::string_view text)
{
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 || (b < 0x20 && b != '\t' && b != '\n' && b != '\r'))
            return false;
    }
    return true;
}

// the code point of the UTF-8 sequence at s (trusted: Python made it)
char32_t DecodeAt(std::string_view utf8, size_t& i)
{
    const auto b = static_cast<unsigned char>(utf8[i++]);
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t cp = extra ? b & (0x3F >> extra) : b;
    for (int k = 0; k < extra && i < utf8.size(); ++k)
        cp = cp << 6 | (static_cast<unsigned char>(utf8[i++]) & 0x3F);
    return cp;
}

} // namespace

std::string_view Utf8Of(py::handle str)
{
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(str.ptr(), &size); // lone surrogates: UnicodeEncodeError
    if (!data)
        throw py::error_already_set();
    return {data, static_cast<size_t>(size)};
}

std::string NameCharacterAt(std::string_view utf8, size_t offset)
{
    size_t index = 0; // in characters, as Python counts them
    for (size_t i = 0; i < offset && i < utf8.size(); ++index)
        DecodeAt(utf8, i);
    size_t i = offset;
    const char32_t cp = offset < utf8.size() ? DecodeAt(utf8, i) : 0;
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    const std::string shown = cp < 0x20 || cp == 0x7F ? std::string() : std::string(utf8.substr(offset, i - offset)) + "' (";
    return (shown.empty() ? std::string(code) : "'" + shown + code + ")") + " at index " + std::to_string(index);
}

CString ToText(py::handle value)
{
    if (!PyUnicode_Check(value.ptr()))
        throw py::type_error(std::string("a text must be a str, not ") + Py_TYPE(value.ptr())->tp_name);
    const std::string_view utf8 = Utf8Of(value);
    if (IsPlain(utf8))
        return CString(utf8.data(), static_cast<int>(utf8.size()));
    std::string gbk;
    TextError error;
    if (!ConvertToGbk(utf8.data(), utf8.size(), XmlEncoding::Utf8, gbk, error)) {
        size_t at = error.offset;
        char32_t cp = 0;
        if (at < utf8.size()) {
            size_t i = at;
            cp = DecodeAt(utf8, i);
        }
        throw py::value_error(NameCharacterAt(utf8, at) +
                              (cp < 0x20 ? " is a control character that XML cannot hold"
                                         : " is not a character of code page 936, which the library's texts are in"));
    }
    return CString(gbk.data(), static_cast<int>(gbk.size()));
}

py::str FromText(std::string_view gbk)
{
    if (IsPlain(gbk)) {
        PyObject* ascii = PyUnicode_DecodeASCII(gbk.data(), static_cast<Py_ssize_t>(gbk.size()), nullptr);
        if (!ascii)
            throw py::error_already_set();
        return py::reinterpret_steal<py::str>(ascii);
    }
    std::string utf8;
    TextError error;
    if (!ConvertFromGbk(gbk.data(), gbk.size(), XmlEncoding::Utf8, utf8, error))
        throw py::value_error("a text holds bytes that are no characters of code page 936 at byte " +
                              std::to_string(error.offset));
    return py::str(utf8.data(), utf8.size());
}

py::str FromMessage(std::string_view message)
{
    std::string utf8;
    TextError error;
    if (IsPlain(message) || ConvertFromGbk(message.data(), message.size(), XmlEncoding::Utf8, utf8, error))
        return FromText(message);
    PyObject* text = PyUnicode_DecodeUTF8(message.data(), static_cast<Py_ssize_t>(message.size()), "backslashreplace");
    if (!text)
        throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

} // namespace kvpy
