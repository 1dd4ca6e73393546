#pragma once
#include <KvNodeDefine/DescClass.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLComposite.h>

// The base of every descriptor: a name that other descriptors refer to it
// by, and a show name for the user ("name", "showname").
//
// The persistence pattern every descriptor follows: RefreshAttListWithMember
// writes the fields into the attribute list (base class first, then each own
// field in a fixed order), RefreshMemberWithAttList reads them back. Serialize
// runs the most derived RefreshAttListWithMember before a save and the most
// derived RefreshMemberWithAttList after a load; derived classes inherit it,
// so each refresh runs once per save or load.
class KVNODE_API CBaseDesc : public CXMLComposite {
    KV_DECLARE_CLASS(CBaseDesc)
public:
    // construction
    CBaseDesc();
    CBaseDesc(CString name, CString showName);
    ~CBaseDesc() override;

    // fields
    virtual CString GetName() const;
    virtual CString GetShowName() const;
    virtual void SetName(CString name);
    virtual void SetShowName(CString showName);

    // persistence
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

protected:
    // the attribute helpers the refresh pairs of every descriptor use
    void SetAtt(const char* name, const CString& value) { SetAttText(name, value); }
    void SetAtt(const char* name, int value) { SetAttText(name, IntToText(value)); }
    void GetAtt(const char* name, CString& field) const { GetAttText(name, field); }
    int GetAttInt(const char* name) const;
    template <class E>
    void GetAttEnum(const char* name, E& field) const { field = static_cast<E>(GetAttInt(name)); }

    // the name other descriptors refer to it by, and the name shown to the user
    CString m_Name;
    CString m_ShowName;
};
