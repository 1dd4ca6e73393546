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
    // the class's record
    static CRuntimeClass classCXMLBase;
    static CRuntimeClass* GetThisClass() noexcept { return &classCXMLBase; }
    CRuntimeClass* GetRuntimeClass() const override;

    CXMLBase();
    ~CXMLBase() override;

    // identity: the class index written as "classtype", the fold type, a fresh object of the same class
    virtual CString GetClassIndex() const;
    virtual int GetFoldType() const;
    virtual CObject* CreateNew() const;

    // persistence: save (bLoad false) writes the attributes, then the
    // children when bChildren; load reads them back, creating each child by
    // its class index
    virtual bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren);
    virtual bool RefreshMemberWithAttList();
    virtual bool RefreshAttListWithMember();

    // tree
    virtual void SetParentObj(CXMLBase* pParent);
    virtual CXMLBase* GetParent() const;

    // attributes; GetAttText empties value and returns false when name is missing
    virtual bool GetAttText(const char* name, CString& value) const;
    virtual bool SetAttText(const char* name, const CString& value);
    virtual void SetNodeName(const CString& name);
    virtual void SetNodeIndex(const CString& index);
    virtual CString GetNodeName() const;
    virtual CString GetNodeIndex() const;
    const CStringArray& GetAttList() const noexcept { return m_AttList; }

    // children: a plain object has none and accepts none
    virtual bool Add(CXMLBase* pChild);
    virtual bool Remove(CXMLBase* pChild);
    virtual ObjIterator* CreateIterator() const;
    virtual void DeleteIterator(ObjIterator* pIterator) const;

    // the element name this object is written under: its class name
    virtual const char* GetElementName() const;

    // What a plain object's element held (children it has no place for),
    // kept unread and written back; null when it held nothing.
    const CXMLComposite* GetContent() const noexcept { return m_pContent; }

protected:
    // the attributes as name, value, name, value...
    CStringArray m_AttList;

private:
    CXMLBase* m_pParent;
    CXMLComposite* m_pContent; // owned; a plain object's: what its element held, kept unread
};
