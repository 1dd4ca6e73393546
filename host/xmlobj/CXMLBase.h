#pragma once
#include <appframe/CObject.h>
#include <appframe/CStringArray.h>
#include <xmlobj/XMLDOM.h>

class CXMLComposite;
class ObjIterator;

// An object of the XML object library: one element with named text
// attributes. The attributes live in m_AttList, name and value alternating, in
// the order they were first set or read; nothing removes one. A plain object
// has no children; CXMLComposite adds them.
class KVHOST_API CXMLBase : public CObject {
public:
    // The run-time record of CXMLBase.
    static CRuntimeClass classCXMLBase;
    // The run-time record of CXMLBase.
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLBase; }
    // The run-time record of the object's own class.
    CRuntimeClass* GetRuntimeClass() const override;

    // An object without attributes, parent or children.
    CXMLBase();
    // Releases the attributes (and a composite's children).
    ~CXMLBase() override;

    // The class index a save writes as "classtype" ("8_3"); empty for a class with none.
    virtual CString GetClassIndex() const;
    // How the object folds in the host's views: -1.
    virtual int GetFoldType() const;
    // A fresh, default object of the same class (not a copy), owned by the caller.
    virtual CObject* CreateNew() const;

    // Saving (bLoad false) writes the attributes into the document being
    // written, then the children when bChildren; loading reads them back
    // from node, creating each child by its class index. False on failure
    // (the document says why), and when pDoc or node is null.
    virtual bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren);
    // Brings the fields up to date from the attribute list; here nothing; true.
    virtual bool RefreshMemberWithAttList();
    // Brings the attribute list up to date from the fields; here nothing; true.
    virtual bool RefreshAttListWithMember();

    // Records pParent as the object's parent (a composite's Add does this).
    virtual void SetParentObj(CXMLBase* pParent);
    // The composite that owns the object, or null.
    virtual CXMLBase* GetParent() const;

    // Copies the text of attribute name into value and returns true; for a
    // missing attribute empties value and returns false.
    virtual bool GetAttText(const char* name, CString& value) const;
    // Replaces the text of attribute name in place, or appends the pair;
    // false for a null or empty name.
    virtual bool SetAttText(const char* name, const CString& value);
    // Sets the library's attribute "nodename".
    virtual void SetNodeName(const CString& name);
    // Sets the library's attribute "nodeindex".
    virtual void SetNodeIndex(const CString& index);
    // The attribute "nodename", empty when missing.
    virtual CString GetNodeName() const;
    // The attribute "nodeindex", empty when missing.
    virtual CString GetNodeIndex() const;
    // The attributes as name, value, name, value...
    const CStringArray& GetAttList() const noexcept { return m_AttList; }

    // Takes ownership of pChild and appends it; a plain object accepts none: false.
    virtual bool Add(CXMLBase* pChild);
    // Deletes the child pChild; a plain object has none: false.
    virtual bool Remove(CXMLBase* pChild);
    // A new iterator over the direct children (a plain object's is done at
    // once), to be freed with DeleteIterator; never null.
    virtual ObjIterator* CreateIterator() const;
    // Frees an iterator that CreateIterator made.
    virtual void DeleteIterator(ObjIterator* pIterator) const;

    // The element name this object is written under: its class name.
    virtual const char* GetElementName() const;

    // What a plain object's element held (children it has no place for),
    // kept unread and written back; null when it held nothing.
    const CXMLComposite* GetContent() const noexcept { return m_pContent; }

protected:
    CStringArray m_AttList; // the attributes as name, value, name, value...

private:
    CXMLBase* m_pParent;
    CXMLComposite* m_pContent; // owned; a plain object's: what its element held, kept unread
};
