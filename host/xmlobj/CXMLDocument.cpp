#include <xmlobj/CXMLDocument.h>
#include <xmlobj/CXMLComposite.h>
#include <xmlobj/dom/Places.h>
#include <xmlobj/dom/ReadSession.h>
#include <xmlobj/dom/WriteSession.h>
#include <xmlobj/platform/DocumentFile.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string_view>

using namespace kvnodedefine;

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

// What a document holds beside its root, and its load and save.
struct KVHOST_LOCAL CXMLDocument::Impl {
    std::unique_ptr<CXMLComposite> beforeRoot{new CXMLComposite}, afterRoot{new CXMLComposite};
    XmlEncoding encoding = XmlEncoding::Utf8;
    size_t sizeHint = 0; // the size of the last text read or written: what a save reserves
    XmlDiagnostic error;
    std::vector<XmlDiagnostic> warnings;
    bool utf8Mark = false; // a UTF-8 document read with a byte-order mark is written with one
    bool recordPositions = false;
    size_t maxFileSize = kDefaultMaxFileSize;
    std::vector<std::pair<const CXMLBase*, XmlMarkup>> positions; // ordered by object

    bool Load(CXMLDocument& doc, const char* data, size_t size, const std::string& fileName);
    bool Render(CXMLBase* root, std::string& out, const std::string& fileName);
};

CXMLDocument::CXMLDocument() : m_pRoot(nullptr), m_pImpl(new Impl) {}
CXMLDocument::~CXMLDocument()
{
    delete m_pRoot;
    delete m_pImpl;
}

CXMLComposite& CXMLDocument::GetBeforeRoot() const noexcept { return *m_pImpl->beforeRoot; }
CXMLComposite& CXMLDocument::GetAfterRoot() const noexcept { return *m_pImpl->afterRoot; }
XmlEncoding CXMLDocument::GetEncoding() const noexcept { return m_pImpl->encoding; }
void CXMLDocument::SetEncoding(XmlEncoding encoding) noexcept { m_pImpl->encoding = encoding; }
void CXMLDocument::SetMaxFileSize(size_t bytes) noexcept { m_pImpl->maxFileSize = bytes; }
size_t CXMLDocument::GetMaxFileSize() const noexcept { return m_pImpl->maxFileSize; }
void CXMLDocument::SetRecordPositions(bool record) noexcept { m_pImpl->recordPositions = record; }
bool CXMLDocument::IsRecordingPositions() const noexcept { return m_pImpl->recordPositions; }
const XmlDiagnostic& CXMLDocument::GetError() const noexcept { return m_pImpl->error; }
const std::vector<XmlDiagnostic>& CXMLDocument::GetWarnings() const noexcept { return m_pImpl->warnings; }

std::string CXMLDocument::GetErrorText() const
{
    return m_pImpl->error.message.empty() ? std::string() : m_pImpl->error.Format();
}

void CXMLDocument::SetRoot(CXMLBase* pRoot)
{
    if (pRoot == m_pRoot)
        return;
    delete m_pRoot;
    m_pRoot = pRoot;
    m_pImpl->positions.clear();
}

CXMLBase* CXMLDocument::DetachRoot() noexcept
{
    CXMLBase* root = m_pRoot;
    m_pRoot = nullptr;
    m_pImpl->positions.clear();
    return root;
}

XmlPosition CXMLDocument::GetPosition(const CXMLBase* object) const
{
    const XmlMarkup* markup = GetMarkup(object);
    return markup ? markup->range.start : XmlPosition();
}

const XmlMarkup* CXMLDocument::GetMarkup(const CXMLBase* object) const
{
    const auto& positions = m_pImpl->positions;
    const auto before = [](const auto& entry, const CXMLBase* o) { return std::less<>()(entry.first, o); };
    const auto it = std::lower_bound(positions.begin(), positions.end(), object, before);
    return it != positions.end() && it->first == object ? &it->second : nullptr;
}

bool CXMLDocument::ReadFile(const char* path, std::string& bytes) const
{
    if (!path) {
        m_pImpl->error = Problem("", "cannot read: no file name given");
        return false;
    }
    std::string why;
    if (!DocumentFile::Read(path, m_pImpl->maxFileSize, bytes, why)) {
        m_pImpl->error = Problem(path, "cannot read: " + why);
        return false;
    }
    return true;
}

bool CXMLDocument::ReadStandardInput(std::string& bytes) const
{
    std::string why;
    if (!DocumentFile::ReadStandardInput(m_pImpl->maxFileSize, bytes, why)) {
        m_pImpl->error = Problem("<stdin>", "cannot read: " + why);
        return false;
    }
    return true;
}

bool CXMLDocument::LoadFile(const char* path)
{
    try {
        std::string data;
        return ReadFile(path, data) && m_pImpl->Load(*this, data.data(), data.size(), path);
    } catch (const std::bad_alloc&) {
        m_pImpl->error = Problem(path, "cannot read: not enough memory to load the document");
        return false;
    }
}

bool CXMLDocument::LoadXml(const char* data, size_t size) { return LoadXml(data, size, "<memory>"); }

bool CXMLDocument::LoadXml(const char* data, size_t size, const char* fileName)
{
    return m_pImpl->Load(*this, data ? data : "", data ? size : 0, fileName ? fileName : "<memory>");
}

bool CXMLDocument::Impl::Load(CXMLDocument& doc, const char* data, size_t size, const std::string& fileName)
{
    XmlEncoding declared;
    size_t bom = 0;
    TextError te;
    if (!DetectEncoding(data, size, declared, bom, te)) {
        const size_t at = te.offset > bom ? te.offset - bom : 0;
        int line, column;
        TextPosition(data + bom, size - bom, at, declared, line, column);
        error = Problem(fileName, te.message, line, column);
        return false;
    }
    ReadSession::Positions read;
    std::unique_ptr<CXMLComposite> before(new CXMLComposite), after(new CXMLComposite);
    MSXML2::IXMLDOMDocument dom;
    ReadSession reader(dom, fileName, data, size, bom, declared,
                       ReadLimits{kMaxWarnings, kLoadMemoryPerByte, kLoadMemorySlack},
                       recordPositions ? &read : nullptr);
    CXMLBase* root = reader.Read(*before, *after);
    if (!root) {
        error = reader.Error();
        return false;
    }
    doc.SetRoot(root);
    beforeRoot.swap(before);
    afterRoot.swap(after);
    std::sort(read.begin(), read.end(), [](const auto& a, const auto& b) { return std::less<>()(a.first, b.first); });
    positions.swap(read);
    encoding = declared;
    utf8Mark = declared == XmlEncoding::Utf8 && bom > 0;
    sizeHint = size;
    warnings = reader.TakeWarnings();
    error = XmlDiagnostic();
    return true;
}

bool CXMLDocument::Impl::Render(CXMLBase* root, std::string& out, const std::string& fileName)
{
    if (!root) {
        error = Problem(fileName, "the document has no root to save");
        return false;
    }
    if (!IsKnownEncoding(encoding)) {
        error = Problem(fileName, "cannot save in encoding number " + std::to_string(static_cast<int>(encoding)) +
                                        ": it is none of the encodings a document can be written in");
        return false;
    }
    MSXML2::IXMLDOMDocument dom;
    WriteSession writer(dom, fileName, encoding, utf8Mark, sizeHint + sizeHint / 8);
    if (!writer.Write(*root, *beforeRoot, *afterRoot, out)) {
        error = writer.Error();
        return false;
    }
    sizeHint = out.size();
    error = XmlDiagnostic();
    return true;
}

bool CXMLDocument::SaveXml(std::string& out) const
{
    std::string text;
    if (!m_pImpl->Render(m_pRoot, text, "<memory>"))
        return false;
    out.swap(text);
    return true;
}

bool CXMLDocument::SaveFile(const char* path) const
{
    if (!path) {
        m_pImpl->error = Problem("", "cannot write: no file name given");
        return false;
    }
    try {
        std::string text;
        return m_pImpl->Render(m_pRoot, text, path) && WriteFile(path, text);
    } catch (const std::bad_alloc&) {
        m_pImpl->error = Problem(path, "cannot write: not enough memory to save the document");
        return false;
    }
}

bool CXMLDocument::WriteFile(const char* path, const std::string& bytes) const
{
    if (!path) {
        m_pImpl->error = Problem("", "cannot write: no file name given");
        return false;
    }
    std::string why;
    if (!DocumentFile::Replace(path, bytes, why)) {
        m_pImpl->error = Problem(path, "cannot write: " + why);
        return false;
    }
    m_pImpl->error = XmlDiagnostic();
    return true;
}
