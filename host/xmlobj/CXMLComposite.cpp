#include "DomImpl.h"

#include <xmlobj/CXMLUnknown.h>
#include <xmlobj/ObjIterator.h>

#include <algorithm>

CRuntimeClass CXMLComposite::classCXMLComposite = {"CXMLComposite", sizeof(CXMLComposite), 1, nullptr,
                                                   RUNTIME_CLASS(CXMLBase)};
CRuntimeClass* CXMLComposite::GetRuntimeClass() const { return &classCXMLComposite; }

CXMLComposite::CXMLComposite() = default;

CXMLComposite::~CXMLComposite()
{
    for (const ObjItem& child : m_children)
        delete child.pObject;
}

bool CXMLComposite::Add(CXMLBase* pChild)
{
    if (!pChild)
        return false;
    // a child that has a parent is owned already (here or elsewhere), and an
    // ancestor would own itself: either would be deleted twice
    if (pChild->GetParent())
        return false;
    for (const CXMLBase* p = this; p; p = p->GetParent())
        if (p == pChild)
            return false;
    m_children.push_back({pChild, pChild->GetRuntimeClass()});
    pChild->SetParentObj(this);
    return true;
}

bool CXMLComposite::Remove(CXMLBase* pChild)
{
    const auto it = Find(pChild);
    if (it == m_children.end())
        return false;
    m_children.erase(it);
    delete pChild;
    return true;
}

ObjIterator* CXMLComposite::CreateIterator() const { return new ObjIterator(&m_children); }

std::vector<ObjItem>::const_iterator CXMLComposite::Find(const CXMLBase* pChild) const
{
    return std::find_if(m_children.begin(), m_children.end(),
                        [pChild](const ObjItem& item) { return item.pObject == pChild; });
}

CXMLBase* CXMLComposite::GetChild(int nIndex) const noexcept
{
    return nIndex >= 0 && nIndex < GetChildCount() ? m_children[static_cast<size_t>(nIndex)].pObject : nullptr;
}

namespace {
bool IsKeptText(pugi::xml_node_type type)
{
    return type == pugi::node_pcdata || type == pugi::node_cdata || type == pugi::node_comment;
}

CXMLText::Kind TextKind(pugi::xml_node_type type)
{
    return type == pugi::node_cdata ? CXMLText::CData : type == pugi::node_comment ? CXMLText::Comment : CXMLText::Text;
}
} // namespace

bool CXMLComposite::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!CXMLBase::Serialize(node, pDoc, bLoad, bChildren))
        return false;
    if (!bChildren)
        return true;
    auto& impl = pDoc->impl();
    if (!bLoad) {
        // A save writes text, not nodes: every child is handed the node it
        // is written under, which it only passes on.
        for (const ObjItem& item : m_children) {
            CXMLBase* child = item.pObject;
            if (!child)
                continue;
            const bool text = child->IsKindOf(RUNTIME_CLASS(CXMLText));
            if (!text)
                impl.BeginElement(child->GetElementName());
            if (!child->Serialize(node, pDoc, false, bChildren))
                return false;
            if (!text)
                impl.EndElement();
        }
        return true;
    }
    const pugi::xml_node element(node.internal_object());
    // sized once: growing by doubling copies the list and holds up to twice its size
    size_t children = 0;
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling())
        ++children;
    if (children)
        m_children.reserve(m_children.size() + children);
    for (pugi::xml_node c = element.first_child(); c; c = c.next_sibling()) {
        if (IsKeptText(c.type())) {
            CString text;
            if (!impl.ReadText(c, text))
                return false;
            Add(new CXMLText(TextKind(c.type()), text));
            continue;
        }
        if (c.type() == pugi::node_pi) {
            impl.Warn(c, nullptr, "processing instruction <?" + std::string(c.name()) + "?> is not kept");
            continue;
        }
        if (c.type() != pugi::node_element)
            continue;
        if (impl.depth >= kMaxDepth)
            return impl.Fail(c, nullptr, "elements nested deeper than " + std::to_string(kMaxDepth) + " levels");
        CXMLBase* child = impl.CreateObjectFor(c);
        impl.RecordPosition(child, c);
        Add(child);
        ++impl.depth;
        MSXML2::IXMLDOMNode childNode(c.internal_object());
        const bool ok = child->Serialize(childNode, pDoc, true, bChildren);
        --impl.depth;
        if (!ok)
            return impl.Fail(c, nullptr, "element could not be read");
    }
    return true;
}
