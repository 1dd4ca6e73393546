#include <KvNodeDefine/CVecDesc.h>
#include <KvNodeDefine/framework/ConstructionLayout.h>
#include <KvNodeDefine/framework/DescAttributes.h>

using namespace kvnodedefine;

CVecDesc::CVecDesc() : m_VecType(VecByLine) {}
CVecDesc::~CVecDesc() = default;

template <>
TypedLayout<CVecDesc> LayoutOf<CVecDesc>::Get()
{
    // the types' names, as tools show them
    static const EnumText types[] = {{VecByLine, "VecByLine"}, {VecByDesc, "VecByDesc"}, {VecByTwoVecs, "VecByTwoVecs"}, {VecByRotate, "VecByRotate"}, {VecByParallelPlane, "VecByParallelPlane"}, {VecByPerpPlane, "VecByPerpPlane"}, {VecByDotProduct, "VecByDotProduct"}, {VecByMember, "VecByMember"}};
    static const EnumTable typeNames = TableOf(types);
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
    return {rows, typeNames};
}

bool CVecDesc::RefreshAttListWithMember()
{
    CBaseDesc::RefreshAttListWithMember();
    SaveConstruction(*this, m_VecType);
    return true;
}

bool CVecDesc::RefreshMemberWithAttList()
{
    CBaseDesc::RefreshMemberWithAttList();
    LoadConstruction(*this, m_VecType);
    return true;
}
