#pragma once
#include <KvNodeDefine/Attributes.h>
#include <KvNodeDefine/TextConvert.h>

#include <cstddef>

// The geometric constructions save "type" and then only the attributes their
// type uses, but read every attribute back whatever the type. Each class
// states which fields each type writes as a table, and these two functions
// are the only code that walks one.
//
// A row applies to the types firstType..lastType and is saved in table order;
// a negative type is outside every row, so it writes nothing more. A row
// that names a descriptor says of which class.
template <class C>
struct TypedAttribute {
    // the types firstType..lastType write the attribute name from field
    int firstType;
    int lastType;
    const char* name;
    CString C::*field;
    bool onlyIfNotEmpty; // written only when the field holds text
    CRuntimeClass* names; // the class of descriptor the field names, or null for a text for the host

    // a name the type uses is needed, unless the row is written only when not empty
    AttSpec Spec() const { return names ? kvnodedefine::NameOf(names, !onlyIfNotEmpty) : AttSpec(); }
};

// a class's table, handed out by its private static Layout()
template <class C>
struct TypedLayout {
    // the table's rows, walked in order
    const TypedAttribute<C>* rows;
    std::size_t count;
    template <std::size_t N>
    TypedLayout(const TypedAttribute<C> (&table)[N]) : rows(table), count(N) {}
    const TypedAttribute<C>* begin() const { return rows; }
    const TypedAttribute<C>* end() const { return rows + count; }
};

// "type" in "%d", then the attributes of that type in table order
template <class C, class E>
void SaveConstruction(C& desc, E type, const TypedLayout<C>& layout)
{
    WriteAtt(desc, "type", EnumSpec(type), IntToText(type));
    for (const TypedAttribute<C>& row : layout)
        if (type >= row.firstType && type <= row.lastType && !(row.onlyIfNotEmpty && (desc.*row.field).IsEmpty()))
            WriteAtt(desc, row.name, row.Spec(), desc.*row.field);
}

// "type" by the atoi rule, then every attribute of the table whatever the type
template <class C, class E>
void LoadConstruction(C& desc, E& type, const TypedLayout<C>& layout)
{
    CString text;
    ReadAtt(desc, "type", EnumSpec(type), text);
    type = static_cast<E>(TextToInt(text));
    for (const TypedAttribute<C>& row : layout)
        ReadAtt(desc, row.name, row.Spec(), desc.*row.field);
}
