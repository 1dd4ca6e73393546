#pragma once
// What an editor asks of a parsed buffer by place: what stands at an offset,
// what a name there leads to, where a descriptor is named, and the outline.
// Names are looked up as the rules look them up (Scope), so that go to
// definition and unresolved-name never disagree. Offsets are bytes of the
// text the document was loaded from.
#include "model/Catalogue.h"
#include "model/EncodedText.h"
#include "model/Model.h"

#include <string>
#include <vector>

namespace kvnode {

struct ByteRange {
    size_t begin = 0, end = 0;
};

class Navigator {
public:
    // doc loaded from bytes with positions recorded; both outlive this
    Navigator(const CXMLDocument& doc, const std::string& bytes)
        : m_doc(doc), m_bytes(bytes), m_encoded(bytes, XmlEncoding::Utf8)
    {
    }

    // What stands at an offset: the element whose start tag holds it, the
    // attribute (null: the element's name or a blank), and for a value the
    // name or list item under the offset.
    struct Spot {
        const CXMLBase* object = nullptr;
        const XmlAttributeMarkup* attribute = nullptr;
        bool inValue = false;
        ByteRange item; // the item of a value under the offset (a whole value that is no list)
        std::string text; // the item, as written (UTF-8)
    };
    Spot At(size_t offset) const;
    // how an attribute is read (null: not one of its class's)
    static const AttSpec* ReadingOf(const CXMLBase& object, const std::string& attribute);

    // The descriptor a spot declares (its "name") or names (an item of a
    // value that names one, an @Item_ of an expression), or null.
    const CBaseDesc* Target(const Spot& spot) const;
    // where target's name is written (its element's name when it has none)
    ByteRange Declaration(const CBaseDesc& target) const;
    // every name of target in its node type, the declaration not included;
    // for a variable item, the Item of each @Item_Variable too
    std::vector<ByteRange> References(const CBaseDesc& target) const;
    // another descriptor of target's node type that a rename to name (UTF-8) would collide with
    const CBaseDesc* Collision(const CBaseDesc& target, const std::string& name) const;

    // from an element's '<' to just past its end tag (or its start tag, when it closes itself)
    ByteRange Extent(const CXMLBase& object) const;
    static const CNodeTypeDesc* NodeTypeOf(const CXMLBase& object);

private:
    std::vector<ByteRange> Items(const XmlAttributeMarkup& a, bool list) const;
    const CBaseDesc* Resolve(const CXMLBase& from, const AttSpec& reading, const ByteRange& item) const;
    const CBaseDesc* ItemOfUse(const CXMLBase& object, size_t offset) const;

    const CXMLDocument& m_doc;
    const std::string& m_bytes;
    EncodedText m_encoded;
};

} // namespace kvnode
