#pragma once
#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/CNodeGlobal.h>
#include <KvNodeDefine/DescClass.h>
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLComposite.h>

#include <type_traits>

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
    // The attribute helpers the refresh pairs of every descriptor use; the
    // overload states the attribute's type, and a spec what else it stands
    // for (see Attributes.h). Both sides of a pair give an attribute the same.
    void SetAtt(const char* name, const CString& value, const AttSpec& spec = AttSpec())
    {
        WriteAtt(*this, name, spec, value);
    }
    void SetAtt(const char* name, int value, const AttSpec& spec = AttSpec(AttType::Integer))
    {
        WriteAtt(*this, name, spec, IntToText(value));
    }
    template <class E, std::enable_if_t<std::is_enum<E>::value, int> = 0>
    void SetAtt(const char* name, E value)
    {
        WriteAtt(*this, name, EnumSpec(value), IntToText(value));
    }
    template <class T, class R>
    void SetAtt(const char* name, const AcArray<T, R>& values)
    {
        WriteAtt(*this, name, AttSpec{AttType::IntegerList}, IntListToText(values));
    }
    void GetAtt(const char* name, CString& field, const AttSpec& spec = AttSpec()) const
    {
        ReadAtt(*this, name, spec, field);
    }
    // the atoi rule; the spec's ifEmpty for a missing or empty attribute
    int GetAttInt(const char* name, const AttSpec& spec = AttSpec(AttType::Integer)) const;
    template <class E>
    void GetAttEnum(const char* name, E& field) const
    {
        CString text;
        ReadAtt(*this, name, EnumSpec(field), text);
        field = static_cast<E>(TextToInt(text));
    }
    // the items by the atoi rule, replacing what the array held
    template <class T, class R>
    void GetAttList(const char* name, AcArray<T, R>& field) const
    {
        CString text;
        ReadAtt(*this, name, AttSpec{AttType::IntegerList}, text);
        AcArray<int> values;
        CNodeGlobal::SplitStringToIntArray(text, values);
        field.removeAll();
        for (int i = 0; i < values.length(); ++i)
            field.append(static_cast<T>(values[i]));
    }

    // the name other descriptors refer to it by, and the name shown to the user
    CString m_Name;
    CString m_ShowName;
};
