#include "DomImpl.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

std::string XmlDiagnostic::Format() const
{
    std::string s = file;
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

bool ReadWholeFile(const char* path, std::string& data, std::string& why)
{
    struct stat st;
    if (::stat(path, &st) != 0) {
        why = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        why = "is a directory, not a file";
        return false;
    }
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    data.clear();
    data.reserve(static_cast<size_t>(st.st_size)); // grown, a large file would be copied as it doubles
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    const bool ok = !std::ferror(f);
    if (!ok)
        why = std::strerror(errno);
    std::fclose(f);
    return ok;
}

bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// A symbolic link is followed, also to a file it names that does not exist
// yet, so that the save replaces the file and the link stays a link.
std::string LinkTarget(const char* path)
{
    std::string target = path;
    struct stat st;
    for (int hops = 0; hops < 40 && ::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode); ++hops) {
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(target.c_str(), &link[0], link.size());
        if (n <= 0)
            break;
        link.resize(static_cast<size_t>(n));
        const size_t slash = target.rfind('/');
        target = link[0] == '/' || slash == std::string::npos ? link : target.substr(0, slash + 1) + link;
    }
    return target;
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
    std::string data, why;
    if (!path || !ReadWholeFile(path, data, why)) {
        m_Error = Problem(path ? path : "", "cannot read: " + why);
        return false;
    }
    return Load(data.data(), data.size(), path);
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

// Writes a temporary file beside the target, flushes it to disk and renames
// it over the target, so the target holds either the old or the new document.
bool CXMLDocument::SaveFile(const char* path) const
{
    std::string text;
    if (!path || !Render(text, path ? path : ""))
        return false;
    const std::string target = LinkTarget(path);
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) {
        m_Error = Problem(path, "cannot write: is a directory");
        return false;
    }
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        m_Error = Problem(path, std::string("cannot write: ") + std::strerror(errno));
        return false;
    }
    mode_t mode = 0666;
    if (exists) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        m_Error = Problem(path, std::string("cannot write: ") + std::strerror(err));
        return false;
    }
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    m_Error = XmlDiagnostic();
    return true;
}
