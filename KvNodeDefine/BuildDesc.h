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

// A descriptor of class T made as a load makes one: each attribute text is
// set in the order given (SetAttText), then RefreshMemberWithAttList reads
// them all into the fields, once. The name and show name come from "name"
// and "showname" like every other field; numbers and enumerations are texts
// as a file holds them ("1"), lists too ("0,90"). The caller owns the
// descriptor until a composite's Add takes it. For a plate, cut, bolt plane
// or construction, which have no setters, this is the way to fill one in code.
template <class T>
std::unique_ptr<T> BuildDesc(std::initializer_list<AttText> attributes)
{
    static_assert(std::is_base_of<CBaseDesc, T>::value || std::is_same<CValueListDesc, T>::value,
                  "a descriptor or a value list");
    std::unique_ptr<T> desc(new T);
    for (const AttText& a : attributes)
        desc->SetAttText(a.first, a.second);
    desc->RefreshMemberWithAttList();
    return desc;
}

} // namespace kvnodedefine
