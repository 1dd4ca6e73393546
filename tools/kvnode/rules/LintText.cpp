// encoding-mismatch, unwritable-text, and the reverse hint on a UTF-8 error
#include "rules/LintContext.h"

#include <xmlobj/XmlEncoding.h>

namespace kvnode {

namespace {

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

} // namespace

void CheckEncoding(LintContext& c, const std::string& bytes)
{
    const XmlEncoding declared = c.Doc().GetEncoding();
    if ((declared != XmlEncoding::Gbk && declared != XmlEncoding::Gb18030) || !ReadsAsUtf8(bytes))
        return;
    c.Add(RuleId::EncodingMismatch, XmlPosition{1, 1},
          std::string("the declaration says ") + XmlEncodingName(declared) +
              ", but every non-ASCII byte reads as UTF-8: is the declaration wrong? "
              "(read as declared, the Chinese texts are other characters)");
}

std::string EncodingHint(const std::string& bytes, const std::string& error)
{
    std::string converted;
    if (error.find("UTF-8") == std::string::npos || bytes.empty() ||
        !ConvertFromGbk(bytes, XmlEncoding::Utf8, converted))
        return std::string();
    return " (every byte reads as GBK: does the declaration lack encoding=\"GBK\"?)";
}

void CheckWritable(LintContext& c, CXMLDocument& doc)
{
    CXMLBase* root = doc.GetRoot();
    if (!root)
        return;
    ForEachObject(*root, [&](const CXMLBase& o) {
        auto& object = const_cast<CXMLBase&>(o);
        if (o.IsKindOf(RUNTIME_CLASS(CXMLUnknown)))
            return;
        // a save writes what the descriptor holds: try its texts now
        object.RefreshAttListWithMember();
        const CStringArray& list = object.GetAttList();
        for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2) {
            const CString& value = list[i + 1];
            std::string out;
            if (GbkToUtf8(value, out))
                continue;
            c.Add(RuleId::UnwritableText, o,
                  Label(o) + ": \"" + list[i].GetString() + "\" is held as \"" + Utf8(value) +
                      "\", which is not whole characters (the class keeps only part of the text): every save of "
                      "the document fails");
        }
    });
}

} // namespace kvnode
