#pragma once
#include <KvNodeDefine/CBaseDesc.h>

class CPlaneDesc;

// A cut of a plate, a member or a link bar, made by the planes it names
// ("planes": plane names separated by commas). It has no setters: its plane
// list changes only through RefreshMemberWithAttList, that is by a load or
// kvnodedefine::BuildDesc.
class KVNODE_API CCutDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CCutDesc)
public:
    // An empty cut.
    CCutDesc();
    // An empty cut: the plane is not recorded.
    explicit CCutDesc(CPlaneDesc* pPlane);
    // An empty cut: nothing of other is copied, not even its name.
    CCutDesc(const CCutDesc& other);
    // Changes nothing.
    void operator=(const CCutDesc& other);
    // Releases the plane list.
    ~CCutDesc() override;

    // The plane names as written, separated by commas ("planes").
    CString GetPlaneNames() const { return m_PlaneNames; }
    // Empties names and fills it with the plane names, split at commas; true
    // when there is at least one.
    bool GetPlaneNames(CStringArray& names) const;

    // Writes "planes" after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "planes" back; true.
    bool RefreshMemberWithAttList() override;

private:
    CString m_PlaneNames;
};
