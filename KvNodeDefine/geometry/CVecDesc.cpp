#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CNodeMemberDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CVecDesc.h>

CVecDesc::CVecDesc() : m_VecType(VecByLine) {}
CVecDesc::~CVecDesc() = default;

const SteelSystem::EnumTable& CVecDesc::Types() noexcept
{
    static const SteelSystem::EnumText rows[] = {{VecByLine, "VecByLine"}, {VecByDesc, "VecByDesc"}, {VecByTwoVecs, "VecByTwoVecs"}, {VecByRotate, "VecByRotate"}, {VecByParallelPlane, "VecByParallelPlane"}, {VecByPerpPlane, "VecByPerpPlane"}, {VecByDotProduct, "VecByDotProduct"}, {VecByMember, "VecByMember"}};
    static const SteelSystem::EnumTable table{rows, 8};
    return table;
}

TypedLayout<CVecDesc> CVecDesc::Layout()
{
    static const TypedAttribute<CVecDesc> rows[] = {
        {VecByLine, VecByLine, "line", &CVecDesc::m_LineName, false, RUNTIME_CLASS(CLineDesc)},
        {VecByDesc, VecByDesc, "vecdesc", &CVecDesc::m_StrVecDesc, false, nullptr},
        {VecByTwoVecs, VecByTwoVecs, "vec1", &CVecDesc::m_Vec1Name, false, RUNTIME_CLASS(CVecDesc)},
        {VecByTwoVecs, VecByTwoVecs, "vec2", &CVecDesc::m_Vec2Name, false, RUNTIME_CLASS(CVecDesc)},
        {VecByRotate, VecByRotate, "oldvec", &CVecDesc::m_OldVecName, false, RUNTIME_CLASS(CVecDesc)},
        {VecByRotate, VecByRotate, "norm", &CVecDesc::m_NormVecName, false, RUNTIME_CLASS(CVecDesc)},
        {VecByRotate, VecByRotate, "rotangle", &CVecDesc::m_StrRotateAngle, false, nullptr},
        {VecByParallelPlane, VecByParallelPlane, "parellelplane", &CVecDesc::m_ParallelPlaneName, false, RUNTIME_CLASS(CPlaneDesc)},
        {VecByParallelPlane, VecByParallelPlane, "memname", &CVecDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
        {VecByPerpPlane, VecByPerpPlane, "perpplane", &CVecDesc::m_PerpPlaneName, false, RUNTIME_CLASS(CPlaneDesc)},
        {VecByDotProduct, VecByDotProduct, "oldvec", &CVecDesc::m_OldVecName, false, RUNTIME_CLASS(CVecDesc)},
        {VecByDotProduct, VecByDotProduct, "dotproductvec", &CVecDesc::m_DotProductVecName, false, RUNTIME_CLASS(CVecDesc)},
        {VecByMember, VecByMember, "memname", &CVecDesc::m_MemberName, false, RUNTIME_CLASS(CNodeMemberDesc)},
    };
    return rows;
}

bool CVecDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_VecType, Layout());
    return true;
}

bool CVecDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_VecType, Layout());
    return true;
}
