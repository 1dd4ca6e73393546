#pragma once
#include <KvNodeDefine/CBaseDesc.h>

#include <cstdint>

// A named direction of a node type and how the host constructs it: along a
// line, from a description, from two vectors, by rotating a vector, from a
// parallel plane and a member, normal to a plane, from a vector and a
// dot-product vector, or along a member. A save writes "type" and then only
// the attributes of that type; a load reads every one. It has no setters:
// its fields change only through RefreshMemberWithAttList, that is by a load
// or kvnodedefine::BuildDesc.
class KVNODE_API CVecDesc : public CBaseDesc {
    KV_DECLARE_CLASS(CVecDesc)
public:
    // How the vector is built ("type"), and the attributes each type writes.
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

    // An empty vector of type VecByLine.
    CVecDesc();
    // Releases the texts.
    ~CVecDesc() override;

    // The construction type ("type").
    VecType GetVecType() const { return m_VecType; }
    // The line the vector runs along ("line").
    CString GetLineName() const { return m_LineName; }
    // The description the host builds the vector from ("vecdesc").
    CString GetStrVecDesc() const { return m_StrVecDesc; }
    // The first of two vectors it is made from ("vec1").
    CString GetVec1Name() const { return m_Vec1Name; }
    // The second of two vectors it is made from ("vec2").
    CString GetVec2Name() const { return m_Vec2Name; }
    // The vector that is rotated, or that the dot product starts from ("oldvec").
    CString GetOldVecName() const { return m_OldVecName; }
    // The axis of the rotation ("norm").
    CString GetNormVecName() const { return m_NormVecName; }
    // The expression of the rotation angle ("rotangle").
    CString GetStrRotateAngle() const { return m_StrRotateAngle; }
    // The parallel plane ("parellelplane", spelled so in every document).
    CString GetParallelPlaneName() const { return m_ParallelPlaneName; }
    // The member it is taken from ("memname").
    CString GetMemberName() const { return m_MemberName; }
    // The plane it is normal to ("perpplane").
    CString GetPerpPlaneName() const { return m_PerpPlaneName; }
    // The vector of the dot product ("dotproductvec").
    CString GetDotProductVecName() const { return m_DotProductVecName; }

    // Writes "type", then the attributes of the type, after the base's attributes; true.
    bool RefreshAttListWithMember() override;
    // Reads "type" by the atoi rule and every attribute, whatever the type; true.
    bool RefreshMemberWithAttList() override;

private:
    friend struct kvnodedefine::LayoutOf<CVecDesc>; // which fields each type writes

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
