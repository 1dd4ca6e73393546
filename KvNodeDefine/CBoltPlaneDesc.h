#pragma once
#include <KvNodeDefine/CBaseDesc.h>

// One plane of a bolt or bolt group ("plane"), with the descriptor that the
// plane belongs to ("father"). It has no setters: its fields change only
// through RefreshMemberWithAttList, that is by a load or kvnodedefine::BuildDesc.
class KVNODE_API CBoltPlaneDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CBoltPlaneDesc)
public:
    // An empty bolt plane.
    CBoltPlaneDesc();
    // Releases the texts.
    ~CBoltPlaneDesc() override;

    // The name of the plane the bolts pass through ("plane").
    CString GetPlaneName() const { return m_PlaneName; }
    // The name of the part the plane belongs to ("father").
    CString GetFatherName() const { return m_FatherName; }

    // Writes "plane" and "father" after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "plane" and "father" back; true.
    bool RefreshMemberWithAttList() override;

private:
    CString m_PlaneName;
    CString m_FatherName;
};
