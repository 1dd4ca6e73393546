#include "lsp/OpenDocument.h"

#include "model/EncodedText.h"

#include <algorithm>
#include <cctype>

namespace kvnode {

OpenDocument::OpenDocument(std::string uri, std::string path, std::string text, long long version)
    : m_uri(std::move(uri)), m_path(std::move(path)), m_version(version), m_text(std::move(text))
{
    Update();
}

void OpenDocument::Update()
{
    m_lines = std::make_unique<TextLines>(m_text);
    m_bytes = AsUtf8Document(m_text);
}

bool OpenDocument::Change(const nlohmann::json& changes, long long version)
{
    if (!changes.is_array())
        return false;
    std::string text = m_text;
    for (const nlohmann::json& change : changes) {
        if (!change.is_object() || !change.contains("text") || !change["text"].is_string())
            return false;
        const std::string& replacement = change["text"].get_ref<const std::string&>();
        if (!change.contains("range")) {
            text = replacement;
            continue;
        }
        const nlohmann::json& range = change["range"];
        const TextLines lines(text);
        const auto at = [&](const char* end) {
            const nlohmann::json& p = range.at(end);
            return lines.Offset(TextPosition{p.at("line").get<int>(), p.at("character").get<int>()});
        };
        const size_t from = at("start"), to = std::max(from, at("end"));
        text.replace(from, to - from, replacement);
    }
    m_text = std::move(text);
    m_version = version;
    Update();
    return true;
}

bool OpenDocument::Parse()
{
    if (ModelCurrent())
        return true;
    auto doc = std::make_unique<CXMLDocument>();
    doc->SetRecordPositions(true);
    if (!doc->LoadXml(m_bytes.data(), m_bytes.size(), m_path.c_str()))
        return false;
    m_model = std::move(doc);
    m_modelBytes = m_bytes;
    return true;
}

namespace {

// where the declaration's encoding="..." stands in text: [begin, end) around
// it and [nameBegin, nameEnd) the name; false when there is none
bool FindEncoding(const std::string& text, size_t& begin, size_t& end, size_t& nameBegin, size_t& nameEnd)
{
    const size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (text.compare(start, 5, "<?xml") != 0 || text.size() <= start + 5 ||
        !std::isspace(static_cast<unsigned char>(text[start + 5])))
        return false;
    const size_t close = text.find("?>", start);
    begin = text.find("encoding", start);
    if (close == std::string::npos || begin == std::string::npos || begin > close)
        return false;
    const size_t quote = text.find_first_of("\"'", begin);
    end = quote < close ? text.find(text[quote], quote + 1) : std::string::npos;
    if (end == std::string::npos || end > close)
        return false;
    nameBegin = quote + 1;
    nameEnd = end++;
    return true;
}

} // namespace

std::string AsUtf8Document(const std::string& text)
{
    std::string bytes = text;
    size_t begin, end, nameBegin, nameEnd;
    if (FindEncoding(text, begin, end, nameBegin, nameEnd))
        for (size_t at = begin; at < end; ++at)
            if (bytes[at] != '\n' && bytes[at] != '\r')
                bytes[at] = ' ';
    return bytes;
}

bool AsFileBytes(const std::string& text, std::string& bytes, XmlEncoding& encoding)
{
    size_t begin, end, nameBegin, nameEnd;
    encoding = XmlEncoding::Utf8;
    if (FindEncoding(text, begin, end, nameBegin, nameEnd) &&
        !kvnodedefine::XmlEncodingFromName(text.substr(nameBegin, nameEnd - nameBegin).c_str(), encoding))
        encoding = XmlEncoding::Utf8; // the library says what is wrong with the name when it loads
    const EncodedText file(std::string(), encoding);
    if (!file.Encode(text, bytes))
        return false;
    if (file.Unit() == 2) // a file in UTF-16 starts with its mark
        bytes.insert(0, encoding == XmlEncoding::Utf16LE ? "\xFF\xFE" : "\xFE\xFF");
    return true;
}

std::string PathOfUri(const std::string& uri)
{
    if (uri.compare(0, 7, "file://") != 0)
        return std::string();
    std::string path;
    for (size_t i = 7; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && std::isxdigit(static_cast<unsigned char>(uri[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(uri[i + 2]))) {
            path += static_cast<char>(std::stoi(uri.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    // file:///C:/x names C:/x on Windows
    if (path.size() > 2 && path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) && path[2] == ':')
        path.erase(0, 1);
    return path;
}

} // namespace kvnode
