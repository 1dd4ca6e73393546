#pragma once
#include <KvNodeDefine/TextConvert.h>
#include <xmlobj/CXMLBase.h>
#include <xmlobj/ObjIterator.h>

// The one walk over a composite's direct children behind every typed child
// list: appends, in child order, each child whose run-time class is T or
// derives from it, after what the array already holds. False only when the
// composite gives no iterator, leaving the array untouched.
template <class T, class R>
bool AppendChildrenOf(const CXMLBase& parent, AcArray<T*, R>& out)
{
    ObjIterator* it = parent.CreateIterator();
    if (!it)
        return false;
    for (it->First(); !it->IsDone(); it->Next()) {
        // the class kept beside the child: the child itself is not touched
        CXMLBase* child = it->CurrentItem();
        if (child && it->CurrentClass()->IsDerivedFrom(T::GetThisClass()))
            out.append(static_cast<T*>(child));
    }
    parent.DeleteIterator(it);
    return true;
}

// The first direct child of class T whose name is exactly name, or null.
template <class T>
T* FindChildByName(const CXMLBase& parent, const CString& name)
{
    AcArray<T*> children;
    AppendChildrenOf(parent, children);
    for (int i = 0; i < children.length(); ++i)
        if (MbsEqual(children[i]->GetName(), name))
            return children[i];
    return nullptr;
}
