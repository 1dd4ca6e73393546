#pragma once
#include <KvNodeDefine/CBaseDesc.h>

// One plane of a bolt or bolt group ("plane"), with the descriptor that the
// plane belongs to ("father").
class KVNODE_API CBoltPlaneDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltPlaneDesc)
public:
    CBoltPlaneDesc();
    ~CBoltPlaneDesc() override;

    // the plane the bolt passes through, and the part it belongs to
    CString GetPlaneName() const { return m_PlaneName; }
    CString GetFatherName() const { return m_FatherName; }

    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:
    CString m_PlaneName;
    CString m_FatherName;
};
