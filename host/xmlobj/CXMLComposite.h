#pragma once
#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

// An object that owns ordered children and deletes them with itself.
class KVHOST_API CXMLComposite : public CXMLBase {
public:
    // the class's record
    static CRuntimeClass classCXMLComposite;
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLComposite; }
    CRuntimeClass* GetRuntimeClass() const override;

    CXMLComposite();
    ~CXMLComposite() override;

    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    // writes the children, each in its element, into the document being saved
    bool SerializeChildren(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc) const;

    // children: Add takes ownership and appends (refusing a child it already
    // has, itself and its ancestors); Remove deletes the child
    bool Add(CXMLBase* pChild) override;
    bool Remove(CXMLBase* pChild) override;
    ObjIterator* CreateIterator() const override;
    int GetChildCount() const noexcept { return m_children.GetCount(); }
    CXMLBase* GetChild(int nIndex) const noexcept;
    void Reserve(size_t count); // room for count more children

private:
    ObjItemList m_children;
};
