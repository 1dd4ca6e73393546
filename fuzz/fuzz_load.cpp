// Loads arbitrary bytes as a document. A load may fail, but only with a
// message; a document that loads must save, what it saves must load, and
// saving that again must write the same text. libxml2, a parser that owes
// nothing to this library, must read what it saves as well.
// One refusal is by design: a variable keeps only the first byte of its
// "formattype", and when that byte begins a double-byte character the save
// refuses the half character rather than write a file that cannot be read.
#include <KvNodeDefine/CNodeAttDef.h>
#include <xmlobj/CXMLDocument.h>

#include <libxml/parser.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
[[noreturn]] void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "fuzz_load: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool Libxml2Reads(const std::string& text)
{
    xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "saved.xml", nullptr,
                                  XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE);
    xmlFreeDoc(doc);
    return doc != nullptr;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // the descriptor classes register themselves when their library loads: keep it linked
    static CRuntimeClass* const keepLinked = CNodeAttDef::GetThisClass();
    (void)keepLinked;

    CXMLDocument doc;
    if (!doc.LoadXml(reinterpret_cast<const char*>(data), size)) {
        if (doc.GetErrorText().empty())
            Fail("a load failed without a message", "");
        return 0;
    }
    std::string saved;
    if (!doc.SaveXml(saved)) {
        if (doc.GetErrorText().find("attribute \"formattype\" holds byte") != std::string::npos)
            return 0;
        Fail("a loaded document did not save", doc.GetErrorText());
    }
    if (!Libxml2Reads(saved))
        Fail("libxml2 does not read a saved document", saved);
    CXMLDocument again;
    if (!again.LoadXml(saved.data(), saved.size()))
        Fail("a saved document did not load", again.GetErrorText() + "\n" + saved);
    std::string savedAgain;
    if (!again.SaveXml(savedAgain))
        Fail("a reloaded document did not save", again.GetErrorText());
    if (savedAgain != saved)
        Fail("a second save differs", saved + "\n----\n" + savedAgain);
    return 0;
}
