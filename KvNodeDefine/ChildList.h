#pragma once
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

#include <type_traits>

// Which classes each class's child lists hand out, one line per getter in
// the order of the class's getters: the one statement of the tree's shape.
// RegisteredClasses() tells it to tools, and a child list of a pair not
// named here does not compile.
#define KV_CHILD_LISTS(X)                                                                                              \
    X(CNodeTypeDesc, CNodeMemberDesc)                                                                                  \
    X(CNodeTypeDesc, CPlateDesc)                                                                                       \
    X(CNodeTypeDesc, CBoltGroupDesc)                                                                                   \
    X(CNodeTypeDesc, CBoltDesc)                                                                                        \
    X(CNodeTypeDesc, CLinkBarDesc)                                                                                     \
    X(CNodeTypeDesc, CVarItemDesc)                                                                                     \
    X(CNodeTypeDesc, CPointDesc)                                                                                       \
    X(CNodeTypeDesc, CLineDesc)                                                                                        \
    X(CNodeTypeDesc, CPlaneDesc)                                                                                       \
    X(CNodeTypeDesc, CVecDesc)                                                                                         \
    X(CNodeTypeDesc, CDistDesc)                                                                                        \
    X(CNodeMemberDesc, CCutDesc)                                                                                       \
    X(CPlateDesc, CCutDesc)                                                                                            \
    X(CBoltDesc, CBoltPlaneDesc)                                                                                       \
    X(CBoltGroupDesc, CBoltPlaneDesc)                                                                                  \
    X(CLinkBarDesc, CPlaneDesc)                                                                                        \
    X(CLinkBarDesc, CCutDesc)                                                                                          \
    X(CVarItemDesc, CVarDesc)                                                                                          \
    X(CVarDesc, CValueListDesc)

class CBoltDesc;
class CBoltGroupDesc;
class CBoltPlaneDesc;
class CCutDesc;
class CDistDesc;
class CLineDesc;
class CLinkBarDesc;
class CNodeMemberDesc;
class CNodeTypeDesc;
class CPlaneDesc;
class CPlateDesc;
class CPointDesc;
class CValueListDesc;
class CVarDesc;
class CVarItemDesc;
class CVecDesc;

namespace kvnodedefine {
// whether Parent's child lists hand out Child
template <class Parent, class Child>
struct ListsChild : std::false_type {};
#define KV_LISTS_CHILD(Parent, Child)                                                                                  \
    template <>                                                                                                        \
    struct ListsChild<Parent, Child> : std::true_type {};
KV_CHILD_LISTS(KV_LISTS_CHILD)
#undef KV_LISTS_CHILD
} // namespace kvnodedefine

// The one walk over a composite's direct children behind every typed child
// list and lookup: hands visit, in child order, each child whose run-time
// class is T or derives from it, until visit returns false. False only when
// the composite gives no iterator.
template <class T, class Visit>
bool VisitChildrenOf(const CXMLBase& parent, Visit visit)
{
    ObjIterator* it = parent.CreateIterator();
    if (!it)
        return false;
    for (it->First(); !it->IsDone(); it->Next()) {
        // the class kept beside the child: the child itself is not touched
        CXMLBase* child = it->CurrentItem();
        if (child && it->CurrentClass()->IsDerivedFrom(T::GetThisClass()) && !visit(static_cast<T*>(child)))
            break;
    }
    parent.DeleteIterator(it);
    return true;
}

// Appends the children of class T after what the array already holds; false,
// leaving the array untouched, only when the composite gives no iterator.
template <class Parent, class T, class R>
bool AppendChildrenOf(const Parent& parent, AcArray<T*, R>& out)
{
    static_assert(kvnodedefine::ListsChild<Parent, T>::value, "a child list KV_CHILD_LISTS does not name");
    return VisitChildrenOf<T>(parent, [&out](T* child) {
        out.append(child);
        return true;
    });
}

// The first direct child of class T whose name is exactly name, or null.
template <class T, class Parent>
T* FindChildByName(const Parent& parent, const CString& name)
{
    static_assert(kvnodedefine::ListsChild<Parent, T>::value, "a child list KV_CHILD_LISTS does not name");
    T* found = nullptr;
    VisitChildrenOf<T>(parent, [&](T* child) {
        if (MbsEqual(child->GetName(), name))
            found = child;
        return !found;
    });
    return found;
}
