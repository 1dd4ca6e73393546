#pragma once
// Inside the object library only: the state of one document being read or
// written, and the steps of Serialize that touch XML.
#include <xmlobj/CXMLDocument.h>
#include <xmlobj/XMLDOM.h>

#include <pugixml.hpp>

#include <string>
#include <unordered_map>
#include <vector>

constexpr int kMaxDepth = 1024;

struct MSXML2::IXMLDOMDocument::Impl {
    pugi::xml_document doc;
    std::string fileName = "<memory>";
    std::string source; // the GBK text being read, as it was
    const char* parsedBase = nullptr; // the buffer pugixml parsed in place
    int depth = 0;
    bool failed = false;
    XmlDiagnostic error;
    std::vector<XmlDiagnostic> warnings;
    // where each object's element starts, kept only when the document asks
    std::unordered_map<const CXMLBase*, XmlPosition>* positions = nullptr;

    // reading
    bool ReadAttributes(pugi::xml_node node, CStringArray& list, bool keepClassType);
    bool ReadText(pugi::xml_node node, CString& text);
    CXMLBase* CreateObjectFor(pugi::xml_node element);
    void RecordPosition(const CXMLBase* object, pugi::xml_node element);

    // writing
    bool WriteAttributes(pugi::xml_node node, const CXMLBase& object);
    bool CheckText(const CXMLBase& object, const CString& text, const char* what);

    // findings
    bool Fail(pugi::xml_node at, const char* place, const std::string& message);
    bool FailSave(const CXMLBase& object, const std::string& message);
    void Warn(pugi::xml_node at, const char* place, const std::string& message);
    XmlDiagnostic At(pugi::xml_node at, const char* place, const std::string& message);
    void ElementPosition(pugi::xml_node element, int& line, int& column);
    size_t OffsetOf(const char* place) const noexcept;
    // where the character at index of a parsed value stood in the text as read
    const char* SourcePlace(const char* value, size_t index) const noexcept;

private:
    bool Unescape(const char* raw, size_t length, pugi::xml_node at, CString& out);
    // positions are asked for in document order: carry on from the last one
    size_t m_lastOffset = 0;
    int m_lastLine = 1;
    int m_lastColumn = 1;
    void Position(size_t offset, int& line, int& column);
};

// line and column (from 1, columns counting characters) of a byte offset in a text
void TextPosition(const char* text, size_t size, size_t offset, XmlEncoding encoding, int& line, int& column);
std::string ElementPath(pugi::xml_node node);
std::string ObjectPath(const CXMLBase* object);
