#pragma once
// What bolts and bolt groups share (not exported).
#include <KvNodeDefine/CBoltPlaneDesc.h>
#include <KvNodeDefine/ChildList.h>

// The variable item that sizes a bolt or bolt group, named inside its
// expressions: the first expression carrying its own suffix ("_Len" on the
// length, diameterSuffix on the diameter, "_Num" on the number) without
// every occurrence of that suffix and without its leading byte.
CString VarItemNameFromExpressions(CString lenExp, CString diamExp, CString numExp, const char* diameterSuffix);

// Appends the bolt planes; true when the array then holds two or more.
template <class Owner>
bool AppendBoltPlanes(const Owner& owner, AcArray<CBoltPlaneDesc*>& planes)
{
    return AppendChildrenOf(owner, planes) && planes.length() >= 2;
}
