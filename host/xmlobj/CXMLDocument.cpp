#include "DomImpl.h"

#include <xmlobj/CXMLComposite.h>

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
    CXMLBase* root = nullptr;
    std::unique_ptr<CXMLComposite> before(new CXMLComposite), after(new CXMLComposite);
    if (impl.Parse(work, impl.parsedSize) && impl.CheckTopLevel() && impl.ReadAroundRoot(*before, *after) &&
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
