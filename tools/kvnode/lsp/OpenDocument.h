#pragma once
// A document the editor has open: its buffer (UTF-8, as the protocol carries
// it), the one parse of it that the server keeps, and its findings. The
// buffer is read as the library reads a UTF-8 document, whatever encoding
// the declaration gives: that is the file's on disk, not the buffer's.
#include "lsp/TextLines.h"
#include "rules/Lint.h"

#include <nlohmann/json.hpp>
#include <xmlobj/CXMLDocument.h>

#include <memory>
#include <string>
#include <vector>

namespace kvnode {

class OpenDocument {
public:
    OpenDocument(std::string uri, std::string path, std::string text, long long version);

    const std::string& Uri() const { return m_uri; }
    const std::string& Path() const { return m_path; } // the file's; the URI where it is none
    long long Version() const { return m_version; }
    const std::string& Text() const { return m_text; }
    const TextLines& Lines() const { return *m_lines; }

    // A didChange's contentChanges, each the whole text or a range's new
    // text; false (the text as it was) for one that is neither.
    bool Change(const nlohmann::json& changes, long long version);

    // Text() with the declaration's encoding blanked out, so that the library
    // reads it as UTF-8; every other byte, offset and column as in Text().
    const std::string& Bytes() const { return m_bytes; }
    // Loads Bytes(). When they are no document (while an element is being
    // typed, say) the last good model stays, for completion's names; false.
    bool Parse();
    // the last good model (null: none yet), and whether it was made from Bytes() as they are
    const CXMLDocument* Model() const { return m_model.get(); }
    bool ModelCurrent() const { return m_model && m_modelBytes == m_bytes; }

    // the findings of Bytes() as `kvnode check` finds them, fixes placed in Bytes()
    std::vector<Finding> findings;

private:
    void Update();

    std::string m_uri, m_path;
    long long m_version;
    std::string m_text, m_bytes;
    std::unique_ptr<TextLines> m_lines;
    std::unique_ptr<CXMLDocument> m_model;
    std::string m_modelBytes;
};

// Text as the library reads a UTF-8 document: the XML declaration's
// encoding="..." replaced by blanks (line ends kept).
std::string AsUtf8Document(const std::string& text);
// Text as the file on disk holds it: in the declaration's encoding (UTF-16
// with its byte-order mark); false when that cannot hold every character.
bool AsFileBytes(const std::string& text, std::string& bytes, XmlEncoding& encoding);
// the file a file: URI names, or empty for another scheme
std::string PathOfUri(const std::string& uri);

} // namespace kvnode
