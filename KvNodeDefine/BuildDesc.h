#pragma once
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/CValueListDesc.h>

#include <initializer_list>
#include <memory>
#include <type_traits>
#include <utility>

namespace kvnodedefine {

// One attribute of a descriptor being built: its name and its text (GBK), as a file holds it.
using AttText = std::pair<const char*, CString>;

// A descriptor of class cls made of its attribute texts, as a load makes
// one: the texts are set (SetAttText), then RefreshMemberWithAttList reads
// them all into the fields, once. The name and show name come from "name"
// and "showname" like every other field; numbers and enumerations are texts
// as a file holds them ("1"), lists too ("0,90"); a field whose text is not
// given gets what a missing attribute gives. The attributes stand in the
// order a save of the class writes them, those it does not know after them
// in the order given. Null for a class that is neither a descriptor
// (CBaseDesc) nor a value list. For a plate, cut, bolt plane or
// construction, which have no setters, this is the way to fill one in code.
KVNODE_API std::unique_ptr<CXMLBase> BuildDesc(CRuntimeClass* cls, std::initializer_list<AttText> attributes);

// BuildDesc(RUNTIME_CLASS(T), attributes), typed; the caller owns the
// descriptor until a composite's Add takes it.
template <class T>
std::unique_ptr<T> BuildDesc(std::initializer_list<AttText> attributes)
{
    static_assert(std::is_base_of<CBaseDesc, T>::value || std::is_same<CValueListDesc, T>::value,
                  "a descriptor or a value list");
    return std::unique_ptr<T>(static_cast<T*>(BuildDesc(T::GetThisClass(), attributes).release()));
}

} // namespace kvnodedefine
