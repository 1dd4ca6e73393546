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
        {VecByLine, VecByLine, "line", &CVecDesc::m_LineName, false},
        {VecByDesc, VecByDesc, "vecdesc", &CVecDesc::m_StrVecDesc, false},
        {VecByTwoVecs, VecByTwoVecs, "vec1", &CVecDesc::m_Vec1Name, false},
        {VecByTwoVecs, VecByTwoVecs, "vec2", &CVecDesc::m_Vec2Name, false},
        {VecByRotate, VecByRotate, "oldvec", &CVecDesc::m_OldVecName, false},
        {VecByRotate, VecByRotate, "norm", &CVecDesc::m_NormVecName, false},
        {VecByRotate, VecByRotate, "rotangle", &CVecDesc::m_StrRotateAngle, false},
        {VecByParallelPlane, VecByParallelPlane, "parellelplane", &CVecDesc::m_ParallelPlaneName, false},
        {VecByParallelPlane, VecByParallelPlane, "memname", &CVecDesc::m_MemberName, false},
        {VecByPerpPlane, VecByPerpPlane, "perpplane", &CVecDesc::m_PerpPlaneName, false},
        {VecByDotProduct, VecByDotProduct, "oldvec", &CVecDesc::m_OldVecName, false},
        {VecByDotProduct, VecByDotProduct, "dotproductvec", &CVecDesc::m_DotProductVecName, false},
        {VecByMember, VecByMember, "memname", &CVecDesc::m_MemberName, false},
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
