#pragma once
#include <KvNodeDefine/CBaseDesc.h>

class CPlaneDesc;

// A cut of a plate, a member or a link bar, made by the planes it names
// ("planes": plane names separated by commas).
class KVNODE_API CCutDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CCutDesc)
public:
    // construction: none of these copies anything; a cut is filled by loading
    CCutDesc();
    explicit CCutDesc(CPlaneDesc* pPlane);
    CCutDesc(const CCutDesc& other);
    void operator=(const CCutDesc& other);
    ~CCutDesc() override;

    // the plane names as written, separated by commas
    CString GetPlaneNames() const { return m_PlaneNames; }
    // the plane names, split; true when there is at least one
    bool GetPlaneNames(CStringArray& names) const;

    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    CString m_PlaneNames;
};
