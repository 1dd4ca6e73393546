#pragma once
// The one walk over a composite's direct children behind every typed child
// list and lookup (inside the library).
#include <arx/AcArray.h>
#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

namespace kvnodedefine {

// Whole-text equality in the code page (the _mbscmp rule): bytes compared exactly, case-sensitive.
inline bool MbsEqual(const CString& a, const CString& b) noexcept { return a == b; }

// Hands visit, in child order, each child whose run-time class is T or
// derives from it, until visit returns false. False only when the composite
// gives no iterator.
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
template <class T, class R>
bool AppendChildrenOf(const CXMLBase& parent, AcArray<T*, R>& out)
{
    return VisitChildrenOf<T>(parent, [&out](T* child) {
        out.append(child);
        return true;
    });
}

// The first direct child of class T whose name is exactly name, or null.
template <class T>
T* FindChildByName(const CXMLBase& parent, const CString& name)
{
    T* found = nullptr;
    VisitChildrenOf<T>(parent, [&](T* child) {
        if (MbsEqual(child->GetName(), name))
            found = child;
        return !found;
    });
    return found;
}

} // namespace kvnodedefine
