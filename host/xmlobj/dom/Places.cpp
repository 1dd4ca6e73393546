// Where things are, for messages: lines and columns of offsets in a text,
// and the paths of objects.
#include "Places.h"

#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

#include <algorithm>
#include <cstring>

size_t CharacterLength(const char* text, size_t size, size_t at, XmlEncoding encoding) noexcept
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t length = 1;
    switch (encoding) {
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE: {
        const unsigned high = at + 1 < size ? s[at + (encoding == XmlEncoding::Utf16LE ? 1 : 0)] : 0;
        length = high >= 0xD8 && high <= 0xDB ? 4 : 2;
        break;
    }
    case XmlEncoding::Utf8:
        while (length < 4 && at + length < size && (s[at + length] & 0xC0) == 0x80)
            ++length;
        break;
    case XmlEncoding::Gbk:
    case XmlEncoding::Gb18030:
        if (s[at] >= 0x81 && at + 1 < size)
            length = encoding == XmlEncoding::Gb18030 && s[at + 1] >= 0x30 && s[at + 1] <= 0x39 ? 4 : 2;
        break;
    }
    return std::min(length, size - at);
}

// CR, LF and CR LF each end a line: a CR followed by LF is counted with the LF.
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column)
{
    line = 1;
    column = 1;
    if (offset > size)
        offset = size;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const bool utf16 = encoding == XmlEncoding::Utf16LE || encoding == XmlEncoding::Utf16BE;
    const auto unitAt = [&](size_t i) -> unsigned {
        if (!utf16)
            return i < size ? s[i] : 0;
        if (i + 1 >= size)
            return i < size ? s[i] : 0;
        return encoding == XmlEncoding::Utf16LE ? s[i] | (s[i + 1] << 8) : (s[i] << 8) | s[i + 1];
    };
    const size_t unit = utf16 ? 2 : 1;
    for (size_t i = 0; i < offset; i += CharacterLength(text, size, i, encoding)) {
        const unsigned u = unitAt(i);
        if (u == '\r' && unitAt(i + unit) == '\n') {
            // the LF that follows ends the line
        } else if (u == '\n' || u == '\r') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
}

std::string PathText(const std::vector<PathStep>& steps)
{
    // a path too deep to read keeps its first and last steps
    constexpr size_t kEnds = 4;
    std::string path;
    for (size_t depth = 0; depth < steps.size(); ++depth) {
        if (steps.size() > 3 * kEnds && depth >= kEnds && depth < steps.size() - kEnds) {
            if (depth == kEnds)
                path += "/... " + std::to_string(steps.size() - 2 * kEnds) + " more ...";
            continue;
        }
        if (!path.empty())
            path += '/';
        path += steps[depth].name;
        if (depth > 0)
            path += "[" + std::to_string(steps[depth].index()) + "]";
    }
    return path;
}

std::string ObjectPath(const CXMLBase* object)
{
    std::vector<std::string> steps;
    for (const CXMLBase* o = object; o; o = o->GetParent()) {
        std::string step = o->GetElementName();
        if (const CXMLBase* parent = o->GetParent()) {
            int index = 0;
            ObjIterator* it = parent->CreateIterator();
            for (it->First(); !it->IsDone(); it->Next()) {
                const CXMLBase* sibling = it->CurrentItem();
                if (sibling && std::strcmp(sibling->GetElementName(), o->GetElementName()) == 0)
                    ++index;
                if (sibling == o)
                    break;
            }
            parent->DeleteIterator(it);
            step += "[" + std::to_string(index) + "]";
        }
        steps.push_back(step);
    }
    std::string path;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        path += (path.empty() ? "" : "/") + *it;
    return path;
}
