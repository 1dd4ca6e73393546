#include "DomImpl.h"
#include "DocumentFile.h"

#include <cstring>
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
    return s;
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

// Finds the encoding from the byte-order mark, or the declaration, or
// neither (UTF-8); bomLength tells how many bytes the mark takes.
bool DetectEncoding(std::string_view text, XmlEncoding& encoding, size_t& bomLength, TextError& error)
{
    bomLength = 0;
    encoding = XmlEncoding::Utf8;
    if (text.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4) || text.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
        error.message = "UTF-32 documents are not supported";
        return false;
    }
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == std::string_view("<\0", 2)) {
        encoding = XmlEncoding::Utf16LE;
        bomLength = text[0] == '<' ? 0 : 2;
        return true;
    }
    if (text.substr(0, 2) == "\xFE\xFF" || text.substr(0, 2) == std::string_view("\0<", 2)) {
        encoding = XmlEncoding::Utf16BE;
        bomLength = text[0] == '<' || text[0] == '\0' ? 0 : 2;
        return true;
    }
    const bool utf8Bom = text.substr(0, 3) == "\xEF\xBB\xBF";
    if (utf8Bom)
        bomLength = 3;
    const std::string_view body = text.substr(bomLength);
    if (body.substr(0, 5) != "<?xml")
        return true;
    const size_t end = body.find("?>");
    const std::string_view decl = body.substr(0, end == std::string_view::npos ? body.size() : end);
    const size_t key = decl.find("encoding");
    if (key == std::string_view::npos)
        return true;
    size_t q = decl.find_first_of("\"'", key);
    if (q == std::string_view::npos)
        return true;
    const size_t qEnd = decl.find(decl[q], q + 1);
    const std::string name(decl.substr(q + 1, qEnd == std::string_view::npos ? 0 : qEnd - q - 1));
    error.offset = bomLength + q + 1;
    if (!XmlEncodingFromName(name.c_str(), encoding)) {
        error.message = "encoding \"" + name + "\" is not supported (UTF-8, UTF-16, GBK, GB2312 and GB18030 are)";
        return false;
    }
    if (encoding == XmlEncoding::Utf16LE || encoding == XmlEncoding::Utf16BE) {
        error.message = "the declaration says UTF-16 but the document has no UTF-16 byte-order mark";
        return false;
    }
    if (utf8Bom && encoding != XmlEncoding::Utf8) {
        error.message = "the declaration says " + name + " but the byte-order mark says UTF-8";
        return false;
    }
    return true;
}

std::string Lower(const char* s)
{
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return r;
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

CXMLDocument::CXMLDocument() : m_pRoot(nullptr), m_Encoding(XmlEncoding::Utf8), m_SizeHint(0) {}
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
    const auto it = m_Positions.find(object);
    return it == m_Positions.end() ? XmlPosition() : it->second;
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

bool CXMLDocument::LoadXml(const char* data, size_t size) { return Load(data ? data : "", data ? size : 0, "<memory>"); }

bool CXMLDocument::Load(const char* data, size_t size, const std::string& fileName)
{
    const std::string_view text(data, size);
    XmlEncoding encoding;
    size_t bom = 0;
    TextError te;
    int line, column;
    if (!DetectEncoding(text, encoding, bom, te)) {
        TextPosition(data, size, te.offset, XmlEncoding::Utf8, line, column);
        m_Error = Problem(fileName, te.message, line, column);
        return false;
    }
    MSXML2::IXMLDOMDocument dom;
    auto& impl = dom.impl();
    impl.fileName = fileName;
    std::unordered_map<const CXMLBase*, XmlPosition> positions;
    if (m_bRecordPositions)
        impl.positions = &positions;
    impl.input = data + bom;
    impl.inputSize = size - bom;
    impl.inputEncoding = encoding;
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
    impl.parsedBase = work;
    // as a fragment, since a document parse drops text outside the root
    // element unseen; the checks below refuse it, and more roots, themselves
    const unsigned flags = (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_comments | pugi::parse_doctype |
                           pugi::parse_pi | pugi::parse_fragment;
    const pugi::xml_parse_result parsed = impl.doc.load_buffer_inplace_own(work, impl.parsedSize, flags,
                                                                           pugi::encoding_utf8);
    if (!parsed) {
        std::string message = Lower(parsed.description());
        if (parsed.status == pugi::status_end_element_mismatch) {
            // pugixml's words name no tag; the offset stands on the end tag's name
            const char* name = work + parsed.offset;
            size_t length = 0;
            while (parsed.offset + length < impl.parsedSize && name[length] && !std::strchr(" \t\r\n>", name[length]))
                ++length;
            message = "end tag </" + std::string(name, length) + "> does not match the open element";
        }
        impl.Fail(pugi::xml_node(), work + parsed.offset, message);
        m_Error = impl.error;
        return false;
    }
    pugi::xml_node rootElement;
    for (pugi::xml_node n = impl.doc.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_doctype)
            impl.Fail(n, n.value(), "document type declarations are not supported (no DTD is ever read)");
        else if (n.type() == pugi::node_element && rootElement)
            impl.Fail(n, nullptr, "more than one root element");
        else if (n.type() == pugi::node_element)
            rootElement = n;
        else if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            impl.Fail(n, n.value() + std::strspn(n.value(), " \t\r\n"), "text outside the root element");
        else if (n.type() == pugi::node_comment || n.type() == pugi::node_pi)
            impl.Warn(n, nullptr, "comments and processing instructions outside the root element are not kept");
    }
    if (!rootElement)
        impl.Fail(pugi::xml_node(), work + impl.parsedSize, "no root element");
    CXMLBase* root = nullptr;
    if (!impl.failed) {
        root = impl.CreateObjectFor(rootElement);
        impl.RecordPosition(root, rootElement);
        impl.depth = 1;
        MSXML2::IXMLDOMNode node(rootElement.internal_object());
        if (!root->Serialize(node, &dom, true, true))
            impl.Fail(rootElement, nullptr, "element could not be read");
    }
    if (impl.failed) {
        delete root;
        m_Error = impl.error;
        return false;
    }
    SetRoot(root);
    m_Positions.swap(positions);
    m_Encoding = encoding;
    m_bUtf8Mark = encoding == XmlEncoding::Utf8 && bom > 0;
    m_SizeHint = size;
    m_Warnings = std::move(impl.warnings);
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
    impl.BeginElement(m_pRoot->GetElementName());
    if (!m_pRoot->Serialize(node, &dom, false, true)) {
        m_Error = impl.failed ? impl.error : Problem(fileName, "the document could not be saved");
        return false;
    }
    impl.EndElement();
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
