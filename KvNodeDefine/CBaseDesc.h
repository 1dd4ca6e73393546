#pragma once
#include <KvNodeDefine/DescClass.h>
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
//
// So a field set in code reaches a file only through a save, and an
// attribute set with SetAttText reaches a field only through
// RefreshMemberWithAttList: a SetAttText that is not followed by it is
// overwritten from the fields by the next save, and a setter called before it
// is undone by it. kvnodedefine::BuildDesc makes a descriptor from its
// attribute texts in one step.
class KVNODE_API CBaseDesc : public CXMLComposite {
    KV_DECLARE_CLASS(CBaseDesc)
public:
    // A descriptor with an empty name and show name.
    CBaseDesc();
    // A descriptor with the name and show name given.
    CBaseDesc(CString name, CString showName);
    // Releases the two texts; the composite then deletes the children.
    ~CBaseDesc() override;

    // A copy of the name ("name"), which lookups by name compare.
    virtual CString GetName() const;
    // A copy of the show name ("showname"), the label shown to the user.
    virtual CString GetShowName() const;
    // Sets the name; the attribute list follows at the next save.
    virtual void SetName(CString name);
    // Sets the show name; the attribute list follows at the next save.
    virtual void SetShowName(CString showName);

    // Saving (bLoad false): RefreshAttListWithMember, then the composite's
    // save. Loading: the composite's load, then RefreshMemberWithAttList.
    // Returns the composite's result.
    bool Serialize(MSXML2::IXMLDOMNode& node, MSXML2::IXMLDOMDocument* pDoc, bool bLoad, bool bChildren) override;
    // Writes "name" and then "showname" from the fields; true.
    bool RefreshAttListWithMember() override;
    // Reads "name" and "showname" into the fields (empty when missing); true.
    bool RefreshMemberWithAttList() override;

protected:
    CString m_Name;     // the name other descriptors refer to it by
    CString m_ShowName; // the name shown to the user
};

namespace kvnodedefine {
// a construction's table of attributes by type (inside the library)
template <class C>
struct LayoutOf;
} // namespace kvnodedefine
