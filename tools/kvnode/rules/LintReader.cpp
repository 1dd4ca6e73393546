// What the library's reader and writer make of the file: xml-error (found by
// the entry point, which loads the document), encoding-mismatch, unwritable-text.
#include "rules/Families.h"

#include <xmlobj/XmlEncoding.h>


namespace kvnode {

namespace {

constexpr RuleId kEncodingMismatch = "encoding-mismatch";
constexpr RuleId kUnwritableText = "unwritable-text";

// true when bytes hold a non-ASCII byte and every such sequence is well-formed UTF-8
bool ReadsAsUtf8(const std::string& bytes)
{
    bool any = false;
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        any = true;
        const int more = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : -1;
        if (more < 0 || i + more >= bytes.size())
            return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return any;
}


void CheckEncoding(LintContext& c)
{
    const XmlEncoding declared = c.Doc().GetEncoding();
    if ((declared != XmlEncoding::Gbk && declared != XmlEncoding::Gb18030) || !ReadsAsUtf8(c.Bytes()))
        return;
    c.Add(kEncodingMismatch, XmlPosition{1, 1},
          std::string("the declaration says ") + XmlEncodingName(declared) +
              ", but every non-ASCII byte reads as UTF-8: is the declaration wrong? "
              "(read as declared, the Chinese texts are other characters)");
}

// A save writes what the descriptor holds, which a save must convert again:
// try the texts a save of it writes.
void CheckWritable(LintContext& c, const CXMLBase& o)
{
    if (!RegisteredClassOf(o))
        return;
    for (const Field& f : c.FieldsOf(o)) {
        std::string out;
        TextError e;
        if (ConvertFromGbk(f.value.GetString(), static_cast<size_t>(f.value.GetLength()), XmlEncoding::Utf8, out, e))
            continue;
        c.Add(kUnwritableText, o, f.attribute,
              Label(o) + ": \"" + f.attribute + "\" is held as \"" + Utf8(f.value) +
                  "\", which is not whole characters (the class keeps only part of the text): every save of "
                  "the document fails");
    }
}

} // namespace

std::string EncodingHint(const std::string& bytes, const std::string& error)
{
    std::string converted;
    TextError e;
    if (error.find("UTF-8") == std::string::npos || bytes.empty() ||
        !ConvertFromGbk(bytes.data(), bytes.size(), XmlEncoding::Utf8, converted, e))
        return std::string();
    return " (every byte reads as GBK: does the declaration lack encoding=\"GBK\"?)";
}

void RegisterReaderRules(RuleRegistry& r)
{
    r.Add({kXmlError, Severity::Error,
           "the file cannot be read, is not well-formed XML, or holds text its encoding cannot",
           "Nothing else is checked: the host cannot read the file at all. The message says where the reader "
           "stopped and why; a UTF-8 error whose bytes read as GBK asks whether the declaration lacks "
           "encoding=\"GBK\".",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B,C\">   (never closed)",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" planes=\"A,B,C\" />"});
    r.Add({kEncodingMismatch, Severity::Warning, "a GBK, GB2312 or GB18030 declaration on a file whose bytes are UTF-8",
           "Every non-ASCII byte sequence is valid UTF-8, which a GBK text rarely is: the declaration is probably "
           "wrong, and the Chinese texts read as other characters.",
           "<?xml version=\"1.0\" encoding=\"GBK\"?>   (saved as UTF-8 by an editor)",
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"});
    r.Add({kUnwritableText, Severity::Error, "a text the library holds but could not write back",
           "Every save of the document would fail, for example a \"formattype\" whose first character is Chinese "
           "(only its first byte is kept).",
           "<CVarDesc classtype=\"8_10\" name=\"V\" formattype=\"\xE5\xB0\x8F\" .../>",
           "<CVarDesc classtype=\"8_10\" name=\"V\" formattype=\"f\" .../>"});
}

void CheckReader(LintContext& c)
{
    CheckEncoding(c);
    if (const CXMLBase* root = c.Doc().GetRoot())
        ForEachObject(*root, [&](const CXMLBase& o) { CheckWritable(c, o); });
}

} // namespace kvnode
