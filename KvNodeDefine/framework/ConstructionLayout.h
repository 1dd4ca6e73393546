#pragma once
// The geometric constructions save "type" and then only the attributes their
// type uses, but read every attribute back whatever the type. Each class
// states which fields each type writes as a table, and these two functions
// are the only code that walks one (inside the library).
#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/TextConvert.h>

#include <cstddef>

namespace kvnodedefine {

// One row: the types firstType..lastType write the attribute name from
// field; a negative type is outside every row, so it writes nothing more. A
// row that names a descriptor says of which class.
template <class C>
struct TypedAttribute {
    int firstType;
    int lastType;
    const char* name;
    CString C::*field;
    bool onlyIfNotEmpty; // written only when the field holds text
    CRuntimeClass* names; // the class of descriptor the field names, or null for a text for the host

    // a name the type uses is needed, unless the row is written only when not empty
    AttSpec Reading() const { return names ? NameOf(names, !onlyIfNotEmpty) : AttSpec(); }
};

// A class's table, in save order, and the names of its types, handed out by
// the class's private Layout().
template <class C>
struct TypedLayout {
    const TypedAttribute<C>* rows;
    std::size_t count;
    const EnumTable& types;
    template <std::size_t N>
    TypedLayout(const TypedAttribute<C> (&table)[N], const EnumTable& typeNames)
        : rows(table), count(N), types(typeNames)
    {
    }
    const TypedAttribute<C>* begin() const { return rows; }
    const TypedAttribute<C>* end() const { return rows + count; }
};

// A construction class C's table, defined beside C (LayoutOf<C>::Get): C
// makes it a friend, for its fields; it derives from C for the names of the
// types.
template <class C>
struct LayoutOf : C {
    static TypedLayout<C> Get();
};

// "type" in "%d", then the attributes of that type in table order
template <class C, class E>
void SaveConstruction(C& desc, E type, const TypedLayout<C>& layout = LayoutOf<C>::Get())
{
    WriteAtt(desc, "type", AttSpec{AttType::Enumeration, &layout.types}, IntToText(type));
    for (const TypedAttribute<C>& row : layout)
        if (type >= row.firstType && type <= row.lastType && !(row.onlyIfNotEmpty && (desc.*row.field).IsEmpty()))
            WriteAtt(desc, row.name, row.Reading(), desc.*row.field);
}

// "type" by the atoi rule, then every attribute of the table whatever the type
template <class C, class E>
void LoadConstruction(C& desc, E& type, const TypedLayout<C>& layout = LayoutOf<C>::Get())
{
    CString text;
    ReadAtt(desc, "type", AttSpec{AttType::Enumeration, &layout.types}, text);
    type = static_cast<E>(TextToInt(text));
    for (const TypedAttribute<C>& row : layout)
        ReadAtt(desc, row.name, row.Reading(), desc.*row.field);
}

} // namespace kvnodedefine
