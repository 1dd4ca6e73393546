#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/ConstructionLayout.h>

// A named direction of a node type and how the host constructs it: along a
// line, from a description, from two vectors, by rotating a vector, from a
// parallel plane and a member, normal to a plane, from a vector and a
// dot-product vector, or along a member.
class KVNODE_API CVecDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVecDesc)
public:
    // how the vector is built, and the attributes each type writes
    enum VecType : std::int32_t {
        VecByLine = 0,          // "line"
        VecByDesc = 1,          // "vecdesc"
        VecByTwoVecs = 2,       // "vec1", "vec2"
        VecByRotate = 3,        // "oldvec", "norm", "rotangle"
        VecByParallelPlane = 4, // "parellelplane", "memname"
        VecByPerpPlane = 5,     // "perpplane"
        VecByDotProduct = 6,    // "oldvec", "dotproductvec"
        VecByMember = 7,        // "memname"
    };

    CVecDesc();
    ~CVecDesc() override;

    // the construction type and the names and texts it uses
    VecType GetVecType() const { return m_VecType; }
    CString GetLineName() const { return m_LineName; }
    CString GetStrVecDesc() const { return m_StrVecDesc; }
    CString GetVec1Name() const { return m_Vec1Name; }
    CString GetVec2Name() const { return m_Vec2Name; }
    CString GetOldVecName() const { return m_OldVecName; }
    CString GetNormVecName() const { return m_NormVecName; }
    CString GetStrRotateAngle() const { return m_StrRotateAngle; }
    // persisted as "parellelplane", spelled so in every document
    CString GetParallelPlaneName() const { return m_ParallelPlaneName; }
    CString GetMemberName() const { return m_MemberName; }
    CString GetPerpPlaneName() const { return m_PerpPlaneName; }
    CString GetDotProductVecName() const { return m_DotProductVecName; }

    // which attributes each type writes, in save order, and the fields behind them
    static TypedLayout<CVecDesc> Layout();
    // the types' names, as tools show them
    static const SteelSystem::EnumTable& Types() noexcept;
    friend const SteelSystem::EnumTable* EnumTableOf(VecType) { return &Types(); }

    // save "type", then the attributes of that type; load every attribute
    bool RefreshAttListWithMember() override;
    bool RefreshMemberWithAttList() override;

private:

    VecType m_VecType;
    CString m_LineName;
    CString m_StrVecDesc;
    CString m_Vec1Name;
    CString m_Vec2Name;
    CString m_OldVecName;
    CString m_NormVecName;
    CString m_StrRotateAngle;
    CString m_ParallelPlaneName;
    CString m_MemberName;
    CString m_PerpPlaneName;
    CString m_DotProductVecName;
};
