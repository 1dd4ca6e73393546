#include "lsp/Navigator.h"

namespace kvnode {

namespace {

bool Holds(const XmlRange& r, size_t offset) { return r.start.offset <= offset && offset <= r.end.offset; }

std::string AttributeName(const XmlAttributeMarkup& a) { return Bytes(a.name); }

} // namespace

Navigator::Spot Navigator::At(size_t offset) const
{
    Spot spot;
    if (!m_doc.GetRoot())
        return spot;
    ForEachObject(*m_doc.GetRoot(), [&](const CXMLBase& o) {
        const XmlMarkup* m = m_doc.GetMarkup(&o);
        if (spot.object || !m || o.IsKindOf(RUNTIME_CLASS(CXMLText)) || !Holds(m->range, offset) ||
            offset == m->range.end.offset)
            return;
        spot.object = &o;
        for (const XmlAttributeMarkup& a : m->attributes) {
            if (Holds(a.nameRange, offset)) {
                spot.attribute = &a;
            } else if (Holds(a.valueRange, offset)) {
                spot.attribute = &a;
                spot.inValue = true;
                const AttSpec* reading = ReadingOf(o, AttributeName(a));
                for (const ByteRange& item : Items(a, reading && reading->list))
                    if (item.begin <= offset && offset <= item.end)
                        spot.item = item;
                spot.text = m_bytes.substr(spot.item.begin, spot.item.end - spot.item.begin);
            }
        }
    });
    return spot;
}

const AttSpec* Navigator::ReadingOf(const CXMLBase& object, const std::string& attribute)
{
    const ClassInfo* info = ClassOf(object);
    const AttributeInfo* a = info ? FindAttribute(*info, attribute) : nullptr;
    return a ? &a->reading : nullptr;
}

std::vector<ByteRange> Navigator::Items(const XmlAttributeMarkup& a, bool list) const
{
    const size_t begin = a.valueRange.start.offset, end = a.valueRange.end.offset;
    if (!list)
        return {ByteRange{begin, end}};
    std::vector<ByteRange> items;
    for (size_t from = begin;;) {
        const size_t comma = m_bytes.find(',', from);
        if (comma == std::string::npos || comma >= end) {
            items.push_back(ByteRange{from, end});
            return items;
        }
        items.push_back(ByteRange{from, comma});
        from = comma + 1;
    }
}

const CBaseDesc* Navigator::Resolve(const CXMLBase& from, const AttSpec& reading, const ByteRange& item) const
{
    const CNodeTypeDesc* node = NodeTypeOf(from);
    CString name;
    if (!node || !reading.names || item.end <= item.begin ||
        !Utf8ToGbk(m_bytes.substr(item.begin, item.end - item.begin), name))
        return nullptr;
    return Scope(*node).Resolve(from, reading.names, name);
}

const CBaseDesc* Navigator::ItemOfUse(const CXMLBase& object, size_t offset) const
{
    const CNodeTypeDesc* node = NodeTypeOf(object);
    const size_t at = m_bytes.rfind('@', offset);
    if (!node || at == std::string::npos)
        return nullptr;
    for (const CXMLBase* child : ChildrenOf(*node)) {
        if (!child->IsKindOf(RUNTIME_CLASS(CVarItemDesc)))
            continue;
        const auto* item = static_cast<const CBaseDesc*>(child);
        const std::string use = Utf8(item->GetName()) + "_";
        if (m_bytes.compare(at + 1, use.size(), use) == 0 && offset <= at + use.size())
            return item;
    }
    return nullptr;
}

const CBaseDesc* Navigator::Target(const Spot& spot) const
{
    if (!spot.object || !spot.attribute || !spot.inValue)
        return nullptr;
    const std::string attribute = AttributeName(*spot.attribute);
    if (attribute == "name" && spot.object->IsKindOf(RUNTIME_CLASS(CBaseDesc)))
        return static_cast<const CBaseDesc*>(spot.object);
    const AttSpec* reading = ReadingOf(*spot.object, attribute);
    if (reading && reading->names)
        return Resolve(*spot.object, *reading, spot.item);
    const size_t at = m_bytes.rfind('@', spot.item.end);
    return at != std::string::npos && at >= spot.attribute->valueRange.start.offset ? ItemOfUse(*spot.object, at + 1)
                                                                                   : nullptr;
}

ByteRange Navigator::Declaration(const CBaseDesc& target) const
{
    const XmlMarkup* m = m_doc.GetMarkup(&target);
    if (!m)
        return ByteRange();
    for (const XmlAttributeMarkup& a : m->attributes)
        if (AttributeName(a) == "name")
            return ByteRange{a.valueRange.start.offset, a.valueRange.end.offset};
    return ByteRange{m->nameRange.start.offset, m->nameRange.end.offset};
}

std::vector<ByteRange> Navigator::References(const CBaseDesc& target) const
{
    std::vector<ByteRange> found;
    const CNodeTypeDesc* node = NodeTypeOf(target);
    if (!node)
        return found;
    const Scope scope(*node);
    const bool item = target.IsKindOf(RUNTIME_CLASS(CVarItemDesc)) && target.GetParent() == node;
    const std::string use = "@" + Utf8(target.GetName()) + "_";
    ForEachInNode(*node, [&](const CXMLBase& o) {
        const XmlMarkup* m = m_doc.GetMarkup(&o);
        if (!m)
            return;
        for (const XmlAttributeMarkup& a : m->attributes) {
            const AttSpec* reading = ReadingOf(o, AttributeName(a));
            if (reading && reading->names && target.IsKindOf(reading->names))
                for (const ByteRange& r : Items(a, reading->list)) {
                    CString name;
                    if (Utf8ToGbk(m_bytes.substr(r.begin, r.end - r.begin), name) &&
                        scope.Resolve(o, reading->names, name) == &target)
                        found.push_back(r);
                }
            if (!item)
                continue;
            const size_t end = a.valueRange.end.offset;
            for (size_t at = m_bytes.find(use, a.valueRange.start.offset); at != std::string::npos && at < end;
                 at = m_bytes.find(use, at + 1))
                if (ItemOfUse(o, at + 1) == &target)
                    found.push_back(ByteRange{at + 1, at + use.size() - 1});
        }
    });
    return found;
}

const CBaseDesc* Navigator::Collision(const CBaseDesc& target, const std::string& name) const
{
    const CNodeTypeDesc* node = NodeTypeOf(target);
    CString gbk;
    if (!node || !Utf8ToGbk(name, gbk))
        return nullptr;
    const CBaseDesc* found = nullptr;
    ForEachInNode(*node, [&](const CXMLBase& o) {
        if (!found && &o != &target && o.IsKindOf(RUNTIME_CLASS(CBaseDesc)) &&
            static_cast<const CBaseDesc&>(o).GetName() == gbk)
            found = static_cast<const CBaseDesc*>(&o);
    });
    return found;
}

ByteRange Navigator::Extent(const CXMLBase& object) const
{
    const XmlMarkup* m = m_doc.GetMarkup(&object);
    if (!m)
        return ByteRange();
    const size_t end = m->range.end.offset;
    size_t nameEnd = 0;
    const size_t closing = m_encoded.ClosingTag(end, nameEnd);
    if (closing == std::string::npos)
        return ByteRange{m->range.start.offset, end};
    const size_t close = m_bytes.find('>', nameEnd);
    return ByteRange{m->range.start.offset, close == std::string::npos ? m_bytes.size() : close + 1};
}

const CNodeTypeDesc* Navigator::NodeTypeOf(const CXMLBase& object)
{
    for (const CXMLBase* o = &object; o; o = o->GetParent())
        if (o->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)))
            return static_cast<const CNodeTypeDesc*>(o);
    return nullptr;
}

} // namespace kvnode
