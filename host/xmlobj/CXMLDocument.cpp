#include "DomImpl.h"
#include "DocumentFile.h"
#include "Printable.h"

#include <xmlobj/CXMLComposite.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <string_view>

std::string XmlDiagnostic::Format() const
{
    std::string s = file.empty() ? "<no file>" : file;
    if (line > 0)
        s += ":" + std::to_string(line) + ":" + std::to_string(column);
    s += ": " + message;
    if (!path.empty())
        s += " (in " + path + ")";
    // a file's name, or a text a message quotes, may hold what would move a terminal's cursor or change its colours
    return Printable(s);
}

namespace {

XmlDiagnostic Problem(const std::string& file, const std::string& message, int line = 0, int column = 0)
{
    XmlDiagnostic d;
    d.file = file;
    d.line = line;
    d.column = column;
    d.message = message;
    return d;
}

// An enumeration holds any number its type can; only these have a writer.
bool IsKnownEncoding(XmlEncoding encoding)
{
    switch (encoding) {
    case XmlEncoding::Utf8:
    case XmlEncoding::Utf16LE:
    case XmlEncoding::Utf16BE:
    case XmlEncoding::Gbk:
    case XmlEncoding::Gb18030: return true;
    }
    return false;
}

} // namespace

CXMLDocument::CXMLDocument()
    : m_pRoot(nullptr), m_pBeforeRoot(new CXMLComposite), m_pAfterRoot(new CXMLComposite),
      m_Encoding(XmlEncoding::Utf8), m_SizeHint(0)
{
}
CXMLDocument::~CXMLDocument() { delete m_pRoot; }

void CXMLDocument::SetRoot(CXMLBase* pRoot)
{
    if (pRoot == m_pRoot)
        return;
    delete m_pRoot;
    m_pRoot = pRoot;
    m_Positions.clear();
}

CXMLBase* CXMLDocument::DetachRoot() noexcept
{
    CXMLBase* root = m_pRoot;
    m_pRoot = nullptr;
    m_Positions.clear();
    return root;
}

XmlPosition CXMLDocument::GetPosition(const CXMLBase* object) const
{
    const auto it = std::lower_bound(m_Positions.begin(), m_Positions.end(), object,
                                     [](const auto& entry, const CXMLBase* o) { return std::less<>()(entry.first, o); });
    return it != m_Positions.end() && it->first == object ? it->second : XmlPosition();
}

bool CXMLDocument::LoadFile(const char* path)
{
    if (!path) {
        m_Error = Problem("", "cannot read: no file name given");
        return false;
    }
    try {
        std::string data, why;
        if (!DocumentFile::Read(path, m_MaxFileSize, data, why)) {
            m_Error = Problem(path, "cannot read: " + why);
            return false;
        }
        return Load(data.data(), data.size(), path);
    } catch (const std::bad_alloc&) {
        m_Error = Problem(path, "cannot read: not enough memory to load the document");
        return false;
    }
}

bool CXMLDocument::LoadXml(const char* data, size_t size) { return LoadXml(data, size, "<memory>"); }

bool CXMLDocument::LoadXml(const char* data, size_t size, const char* fileName)
{
    return Load(data ? data : "", data ? size : 0, fileName ? fileName : "<memory>");
}

bool CXMLDocument::Load(const char* data, size_t size, const std::string& fileName)
{
    XmlEncoding encoding;
    size_t bom = 0;
    TextError te;
    int line, column;
    if (!DetectEncoding(data, size, encoding, bom, te)) {
        const size_t at = te.offset > bom ? te.offset - bom : 0;
        TextPosition(data + bom, size - bom, at, encoding, line, column);
        m_Error = Problem(fileName, te.message, line, column);
        return false;
    }
    MSXML2::IXMLDOMDocument dom;
    auto& impl = dom.impl();
    impl.fileName = fileName;
    std::vector<std::pair<const CXMLBase*, XmlPosition>> positions;
    if (m_bRecordPositions)
        impl.positions = &positions;
    impl.input = data + bom;
    impl.inputSize = size - bom;
    impl.inputEncoding = encoding;
    impl.memoryBudget = size < (~size_t(0) - kLoadMemorySlack) / kLoadMemoryPerByte
                            ? kLoadMemoryPerByte * size + kLoadMemorySlack
                            : ~size_t(0);
    impl.memoryHeld = 2 * size; // the text as read and as parsed
    // convert straight into the buffer that pugixml parses in place and then owns
    char* work = static_cast<char*>(pugi::get_memory_allocation_function()(impl.inputSize + 1));
    if (!work) {
        m_Error = Problem(fileName, "out of memory");
        return false;
    }
    if (!ConvertToGbkBuffer(impl.input, impl.inputSize, encoding, work, impl.parsedSize, te)) {
        pugi::get_memory_deallocation_function()(work);
        TextPosition(impl.input, impl.inputSize, te.offset, encoding, line, column);
        m_Error = Problem(fileName, te.message, line, column);
        return false;
    }
    CXMLBase* root = nullptr;
    std::unique_ptr<CXMLComposite> before(new CXMLComposite), after(new CXMLComposite);
    if (impl.Parse(work, impl.parsedSize) && impl.HoldParsedTree() && impl.CheckTopLevel() &&
        impl.ReadAroundRoot(*before, *after) &&
        (root = impl.CreateObjectFor(impl.rootElement))) {
        impl.RecordPosition(root, impl.rootElement);
        impl.depth = 1;
        MSXML2::IXMLDOMNode node(impl.rootElement.internal_object());
        if (!root->Serialize(node, &dom, true, true))
            impl.Fail(impl.rootElement, nullptr, "element could not be read");
    }
    if (impl.failed) {
        delete root;
        m_Error = impl.error;
        return false;
    }
    SetRoot(root);
    m_pBeforeRoot.swap(before);
    m_pAfterRoot.swap(after);
    std::sort(positions.begin(), positions.end(),
              [](const auto& a, const auto& b) { return std::less<>()(a.first, b.first); });
    m_Positions.swap(positions);
    m_Encoding = encoding;
    m_bUtf8Mark = encoding == XmlEncoding::Utf8 && bom > 0;
    m_SizeHint = size;
    m_Warnings = impl.TakeWarnings();
    m_Error = XmlDiagnostic();
    return true;
}

bool CXMLDocument::Render(std::string& out, const std::string& fileName) const
{
    if (!m_pRoot) {
        m_Error = Problem(fileName, "the document has no root to save");
        return false;
    }
    if (!IsKnownEncoding(m_Encoding)) {
        m_Error = Problem(fileName, "cannot save in encoding number " + std::to_string(static_cast<int>(m_Encoding)) +
                                        ": it is none of the encodings a document can be written in");
        return false;
    }
    MSXML2::IXMLDOMDocument dom;
    auto& impl = dom.impl();
    impl.fileName = fileName;
    MSXML2::IXMLDOMNode node = dom.createDocumentElement(m_pRoot->GetElementName());
    // UTF-8 and GBK are written as the objects go; the others are converted from GBK after
    const bool direct = m_Encoding == XmlEncoding::Utf8 || m_Encoding == XmlEncoding::Gbk;
    impl.textEncoding = direct ? m_Encoding : XmlEncoding::Gbk;
    // a large document would otherwise be copied each time the text doubles
    impl.text.reserve(m_SizeHint + m_SizeHint / 8);
    if (m_Encoding == XmlEncoding::Utf8 && m_bUtf8Mark)
        impl.text += "\xEF\xBB\xBF";
    impl.text += "<?xml version=\"1.0\" encoding=\"";
    impl.text += XmlEncodingName(m_Encoding);
    impl.text += "\"?>\n";
    const auto fail = [&] {
        m_Error = impl.failed ? impl.error : Problem(fileName, "the document could not be saved");
        return false;
    };
    if (!impl.WriteAroundRoot(*m_pBeforeRoot, node, &dom))
        return fail();
    impl.BeginElement(m_pRoot->GetElementName());
    if (!m_pRoot->Serialize(node, &dom, false, true))
        return fail();
    impl.EndElement();
    if (!impl.WriteAroundRoot(*m_pAfterRoot, node, &dom))
        return fail();
    impl.EndDocument();
    TextError te = impl.textError;
    if (te.message.empty() && direct)
        out.swap(impl.text);
    else if (te.message.empty())
        ConvertFromGbk(impl.text.data(), impl.text.size(), m_Encoding, out, te);
    if (!te.message.empty()) {
        m_Error = Problem(fileName, te.message);
        return false;
    }
    m_SizeHint = out.size();
    m_Error = XmlDiagnostic();
    return true;
}

bool CXMLDocument::SaveXml(std::string& out) const
{
    std::string text;
    if (!Render(text, "<memory>"))
        return false;
    out.swap(text);
    return true;
}

bool CXMLDocument::SaveFile(const char* path) const
{
    if (!path) {
        m_Error = Problem("", "cannot write: no file name given");
        return false;
    }
    try {
        std::string text, why;
        if (!Render(text, path))
            return false;
        if (!DocumentFile::Replace(path, text, why)) {
            m_Error = Problem(path, "cannot write: " + why);
            return false;
        }
    } catch (const std::bad_alloc&) {
        m_Error = Problem(path, "cannot write: not enough memory to save the document");
        return false;
    }
    m_Error = XmlDiagnostic();
    return true;
}
