#pragma once
// Where findings stand for what the tool writes about them: the element's
// path by names, which a baseline matches whatever moves around it, the
// element's '<' in the bytes, before which a suppression goes, and the bytes
// a fix replaces. Paths are kept per element, so that many findings on many
// siblings cost no more than one each.
#include "model/EncodedText.h"
#include "rules/Lint.h"

#include <unordered_map>

namespace kvnode {

class Locator {
public:
    Locator(const CXMLDocument& doc, const std::string& bytes) : m_doc(doc), m_text(bytes, doc.GetEncoding()) {}

    // fills f.path and f.elementOffset, and places f.fix (dropping one that has no place or changes nothing)
    void Locate(Finding& f);

private:
    // "CNodeAttDef/CNodeTypeDesc[name=EndPlate]/CPlateDesc[name=EP]"; a
    // second sibling of one name is "[name=EP][2]", an unnamed one "CValueListDesc[2]"
    const std::string& PathOf(const CXMLBase& object);
    bool Place(const XmlMarkup& markup, const Finding& f, Fix& fix) const;

    const CXMLDocument& m_doc;
    EncodedText m_text;
    std::unordered_map<const CXMLBase*, std::string> m_paths;
};

} // namespace kvnode
