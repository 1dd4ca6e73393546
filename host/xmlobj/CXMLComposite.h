#pragma once
#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

// An object that owns ordered children and deletes them with itself.
class KVHOST_API CXMLComposite : public CXMLBase {
public:
    // The run-time record of CXMLComposite.
    static CRuntimeClass classCXMLComposite;
    // The run-time record of CXMLComposite.
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLComposite; }
    // The run-time record of the object's own class.
    CRuntimeClass* GetRuntimeClass() const override;

    // A composite without children.
    CXMLComposite();
    // Deletes the children.
    ~CXMLComposite() override;

    // As CXMLBase::Serialize, then the children when bChildren: a save
    // writes each in its element, a load creates each by its class index.
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    // Writes the children, each in its element, into the document being saved.
    bool SerializeChildren(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc) const;

    // Takes ownership of pChild and appends it; false (nothing taken) for
    // null, a child that already has a parent, the composite itself or one
    // of its ancestors.
    bool Add(CXMLBase* pChild) override;
    // Deletes the child pChild; false when it is no child of this composite.
    bool Remove(CXMLBase* pChild) override;
    // A new iterator over the children in order; never null.
    ObjIterator* CreateIterator() const override;
    // How many children there are.
    int GetChildCount() const noexcept { return m_children.GetCount(); }
    // The child at nIndex (from 0), or null outside the range.
    CXMLBase* GetChild(int nIndex) const noexcept;
    // Makes room for count more children.
    void Reserve(size_t count);

private:
    kvnodedefine::ObjItemList m_children;
};
