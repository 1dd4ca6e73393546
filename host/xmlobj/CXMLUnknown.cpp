#include <xmlobj/dom/DomImpl.h>

#include <xmlobj/CXMLUnknown.h>

CRuntimeClass CXMLUnknown::classCXMLUnknown = {"CXMLUnknown", sizeof(CXMLUnknown), 1, nullptr,
                                               RUNTIME_CLASS(CXMLComposite)};
CRuntimeClass* CXMLUnknown::GetRuntimeClass() const { return &classCXMLUnknown; }

CXMLUnknown::CXMLUnknown(const CString& elementName) : m_ElementName(elementName) {}

CString CXMLUnknown::GetClassIndex() const
{
    CString index;
    GetAttText("classtype", index);
    return index;
}

CObject* CXMLUnknown::CreateNew() const { return new CXMLUnknown(m_ElementName); }

// Nothing inside is interpreted, so that it comes back as it was read.
bool CXMLUnknown::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren)
{
    if (!bLoad || !pDoc)
        return CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    auto& impl = pDoc->impl();
    const bool wasOpaque = impl.opaque;
    impl.opaque = true;
    const bool ok = CXMLComposite::Serialize(node, pDoc, bLoad, bChildren);
    impl.opaque = wasOpaque;
    return ok;
}

CRuntimeClass CXMLText::classCXMLText = {"CXMLText", sizeof(CXMLText), 1, nullptr, RUNTIME_CLASS(CXMLBase)};
CRuntimeClass* CXMLText::GetRuntimeClass() const { return &classCXMLText; }

CObject* CXMLText::CreateNew() const { return new CXMLText(m_Kind, CString()); }

bool CXMLText::Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool)
{
    if (bLoad || !pDoc || node.IsNull())
        return !bLoad;
    auto& impl = pDoc->impl();
    if (!impl.CheckText(*this, m_Text, "text"))
        return false;
    if (m_Kind == Comment && (m_Text.Find("--") >= 0 || (m_Text.GetLength() && m_Text[m_Text.GetLength() - 1] == '-')))
        return impl.FailSave(*this, "a comment may not hold \"--\" nor end in \"-\"");
    // XML has no way to keep one there: a reader would take it for a line end
    if ((m_Kind == Comment || m_Kind == Instruction) && m_Text.Find('\r') >= 0)
        return impl.FailSave(*this, std::string("a ") + (m_Kind == Comment ? "comment" : "processing instruction") +
                                        " may not hold a carriage return, which a reader takes for a line end "
                                        "(write line ends as \\n alone)");
    if (m_Kind == Instruction) {
        const int blank = m_Text.Find(' ');
        const CString target = blank < 0 ? m_Text : m_Text.Left(blank);
        if (!IsXmlName(target) || IsXmlTarget(target.GetString()))
            return impl.FailSave(*this, "processing instruction target " + Quote(target) + " is not a valid one");
        if (m_Text.Find("?>") >= 0)
            return impl.FailSave(*this, "a processing instruction may not hold \"?>\"");
    }
    impl.WriteText(m_Kind, m_Text);
    return true;
}
