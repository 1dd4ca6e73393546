// Every class of the library as a Python class: one line a getter, named as
// in C++; ClassBinder makes the snake_case property, its type and how it is
// written.
#include "Classes.h"

#include "ClassBinder.h"

#include <KvNodeDefine/KvNodeDefine.h>

namespace py = pybind11;

namespace kvpy {

namespace {

#define GET(F) #F, &C::F
#define GETSET(F) "Get" #F, &C::Get##F, &C::Set##F
#define CHILDREN(F) Children<&C::F>(#F, "the " #F " of the C++ class")

// an enumeration's table: value -> text
py::dict TableOf(const SteelSystem::EnumTable& table)
{
    py::dict values;
    for (int i = 0; i < table.count; ++i)
        values[py::int_(table.rows[i].value)] = FromText(table.rows[i].text);
    return values;
}

template <class C>
ClassBinder<C> Construction(py::module_& m, const char* doc)
{
    ClassBinder<C> binder(m, doc);
    binder.Class().attr("TYPES") = TableOf(C::Types());
    return binder;
}

void BindParts(py::module_& m)
{
    {
        using C = CPlateDesc;
        ClassBinder<C>(m, "A plate: its material, size expressions, the three planes that place it and its cuts.")
            .Field(GET(GetMaterial), "the steel grade (MATERIALS)")
            .Field(GET(GetLenExp), "the length, an expression")
            .Field(GET(GetWidthExp), "the width, an expression")
            .Field(GET(GetThickExp), "the thickness, an expression")
            .Field("GetPlaneNames", static_cast<CString (C::*)() const>(&C::GetPlaneNames),
                   "the names of the planes that place it, separated by commas")
            .Field(GET(GetVarItemName), "the name of the variable item that holds its parameters")
            .Derived(GET(GetNum), "a number no operation sets, loads or saves")
            .Listed("plane_name_list", static_cast<bool (C::*)(CStringArray&) const>(&C::GetPlaneNames), false,
                    "plane_names split at the commas (three place the plate)")
            .CHILDREN(GetCutDescArray);
    }
    {
        using C = CCutDesc;
        ClassBinder<C>(m, "A cut of a plate, a member or a link bar, made by planes.")
            .Field("GetPlaneNames", static_cast<CString (C::*)() const>(&C::GetPlaneNames),
                   "the names of the planes that make the cut, separated by commas")
            .Listed("plane_name_list", static_cast<bool (C::*)(CStringArray&) const>(&C::GetPlaneNames), false,
                    "plane_names split at the commas");
    }
    {
        using C = CBoltDesc;
        ClassBinder<C>(m, "A bolt item with its washer plate.")
            .Field(GETSET(Material), "the steel grade (MATERIALS)")
            .Field(GETSET(BoltGrade), "the property class (BOLT_GRADES)")
            .Field(GETSET(DiamExp), "the diameter, an expression")
            .Field(GETSET(LenExp), "the length, an expression")
            .Field(GETSET(NumExp), "the number of bolts, an expression")
            .Field(GETSET(DianBanLenExp), "the washer plate's length, an expression")
            .Field(GETSET(DianBanWidthExp), "the washer plate's width, an expression")
            .Field(GETSET(DianBanThickExp), "the washer plate's thickness, an expression")
            .Field(GETSET(FatherName), "the name of the descriptor the bolt belongs to")
            .Field(GETSET(PointName), "the name of the point that places it")
            .Field(GETSET(PlaneName), "the name of the plane that places it")
            .Derived(GET(GetVarItemName), "the variable item that sizes it, worked out from its expressions")
            .CHILDREN(GetBoltPlaneDescArray);
    }
    {
        using C = CBoltPlaneDesc;
        ClassBinder<C>(m, "A plane of a bolt or a bolt group.")
            .Field(GET(GetPlaneName), "the name of the plane")
            .Field(GET(GetFatherName), "the name of the descriptor the plane belongs to");
    }
    {
        using C = CBoltGroupDesc;
        ClassBinder<C>(m, "A group of like bolts.")
            .Field(GETSET(FatherName), "the name of the descriptor the group belongs to")
            .Field(GETSET(FatherSideIndex), "the side of that descriptor the group lies on")
            .Field(GETSET(PriorFlag), "the priority flag, kept for the host")
            .Field(GETSET(Material), "the steel grade (MATERIALS)")
            .Field(GETSET(BoltGrade), "the property class (BOLT_GRADES)")
            .Field(GETSET(BoltType), "the kind of bolt (BOLT_TYPES)")
            .Field(GETSET(DiamExp), "the diameter, an expression")
            .Field(GETSET(LenExp), "the length, an expression")
            .Field(GETSET(NumExp), "the number of bolts, an expression")
            .Derived(GET(GetVarItemName), "the variable item that sizes it, worked out from its expressions")
            .CHILDREN(GetBoltPlaneDescArray);
    }
    {
        using C = CLinkBarDesc;
        ClassBinder<C>(m, "A link bar: its section, length, the planes it is attached to and its cuts.")
            .Field(GET(GetSecTypeArray), "the section type numbers")
            .Field(GETSET(SecSize), "the section size")
            .Field(GETSET(LenExp), "the length, an expression")
            .Field(GETSET(AttachPlane1), "the name of the first plane it is attached to")
            .Field(GETSET(AttachPlane2), "the name of the second plane")
            .Field(GETSET(AttachPlane3), "the name of the third plane")
            .Field(GETSET(FirstIndex), "the first index")
            .Field(GETSET(SecondIndex), "the second index")
            .CHILDREN(GetPlaneDescArray)
            .CHILDREN(GetCutDescArray);
    }
}

void BindNode(py::module_& m)
{
    {
        using C = CNodeAttDef;
        ClassBinder<C>(m, "The root of a node definition document: its format version and its node types.")
            .Field("GetVersion", &C::GetVersion, &C::SetVersion, "the format version the document declares")
            .Children("node_types", RUNTIME_CLASS(CNodeTypeDesc), "the node types");
    }
    {
        using C = CNodeTypeDesc;
        ClassBinder<C>(m, "A connection node type: its code and, as children, everything that makes it up.")
            .Field(GET(GetNodeType), "the node's classification code")
            .Derived(GET(GetLinkBigType), "101 for every node")
            .Derived(GET(GetLinkWholeType), "the whole type, from the code's ten-thousands digit (1 to 4)")
            .CHILDREN(GetMemberDescArray)
            .CHILDREN(GetPlateDescArray)
            .CHILDREN(GetBoltGroupDescArray)
            .CHILDREN(GetBoltDescArray)
            .CHILDREN(GetLinkBarDescArray)
            .CHILDREN(GetVarItemDescArray)
            .CHILDREN(GetPointDescArray)
            .CHILDREN(GetLineDescArray)
            .CHILDREN(GetPlaneDescArray)
            .CHILDREN(GetVecDescArray)
            .CHILDREN(GetDistDescArray)
            .Lookup("FindMemberByName", &C::FindMemberByName,
                    "find_member(name: str) -> CNodeMemberDesc | None\n\nThe first member so named (exactly), or None.")
            .Lookup("FindPlateByName", &C::FindPlateByName,
                    "find_plate(name: str) -> CPlateDesc | None\n\nThe first plate so named (exactly), or None.")
            .Lookup("FindLinkBarByName", &C::FindLinkBarByName,
                    "find_link_bar(name: str) -> CLinkBarDesc | None\n\nThe first link bar so named (exactly), or None.");
    }
    {
        using C = CNodeMemberDesc;
        ClassBinder<C>(m, "A member (bar) that meets in a node type, and how it is connected.")
            .Field(GET(GetKindArray), "the kinds of structural object listed for it")
            .Field(GET(GetSecTypeArray), "the section type numbers listed for it")
            .Field(GET(GetStrLinkPlanes), "\"0\" for a connection at its end, else the section sides, by commas")
            .Field(GET(GetRotateAngles), "the rotation angles allowed at an end connection, by commas")
            .Field(GET(GetLinkTo), "what it links to")
            .Field(GET(IsDirectUsed), "whether it is used directly")
            .Field(GET(GetSectDesc), "a description of its section")
            .Derived(GET(IsEndConnect), "whether it is connected at its end (str_link_planes is \"0\")")
            .Derived(GET(IsSectSideConnect), "whether it is connected at sides of its section")
            .Listed("allow_connect_sides", &C::GetAllowConnectSides, true,
                    "the sides it may be connected at; None for an end connection")
            .Listed("allow_rotate_angles", &C::GetAllowRotateAngles, true,
                    "the rotation angles allowed; None for a connection at sides")
            .CHILDREN(GetCutDescArray);
    }
}

void BindParams(py::module_& m)
{
    {
        using C = CVarItemDesc;
        ClassBinder<C>(m, "A variable item: a set of variables that parameterise a part.")
            .Field(GETSET(StrType), "the item's type")
            .Field("IsPredefined", &C::IsPredefined, &C::SetIsPredefined, "whether it is predefined")
            .CHILDREN(GetVarDescArray);
    }
    {
        using C = CVarDesc;
        ClassBinder<C>(m, "A variable: its shown and real values, type, format and admissible values.")
            .Field(GETSET(ShowValue), "the value shown")
            .Field(GETSET(RealValue), "the value used")
            .Field(GETSET(Type), "the type, -1 for none")
            .Field(GETSET(FormatType), "the format character, 'g' when none is given")
            .Listed("value_list", &C::GetValueList, true,
                    "the admissible values, from its first value list; None without one")
            .Children("value_lists", RUNTIME_CLASS(CValueListDesc), "its value lists (the first is read)");
    }
    {
        using C = CValueListDesc;
        ClassBinder<C>(m, "The admissible values of a variable.")
            .Listed("value_list", &C::GetValueList, false, "the values");
    }
}

void BindGeometry(py::module_& m)
{
    {
        using C = CPointDesc;
        Construction<C>(m, "A named point of a node type, by how the host constructs it (TYPES).")
            .Field(GET(GetPointType), "how it is constructed (TYPES)")
            .Field(GET(GetMemberName), "the member (type 0)")
            .Field(GET(GetLineName), "the line (type 1)")
            .Field(GET(GetPlaneName), "the plane (type 1)")
            .Field(GET(GetLine1Name), "the first line (type 2)")
            .Field(GET(GetLine2Name), "the second line (type 2)")
            .Field(GET(GetStrPointDesc), "a description (type 3)")
            .Field(GET(GetOldPointName), "the point it is moved from (type 4)")
            .Field(GET(GetVecName), "the vector it is moved along (type 4)")
            .Field(GET(GetStrRelLen), "how far, an expression (type 4)");
    }
    {
        using C = CLineDesc;
        Construction<C>(m, "A named line of a node type, by how the host constructs it (TYPES).")
            .Field(GET(GetLineType), "how it is constructed (TYPES)")
            .Field(GET(GetMemberName), "the member (type 0)")
            .Field(GET(GetPlane1Name), "the first plane (type 1)")
            .Field(GET(GetPlane2Name), "the second plane (type 1)")
            .Field(GET(GetPointName), "the point (type 2)")
            .Field(GET(GetVecName), "the vector (type 2)")
            .Field(GET(GetPoint1Name), "the first point (type 3)")
            .Field(GET(GetPoint2Name), "the second point (type 3)");
    }
    {
        using C = CPlaneDesc;
        Construction<C>(m, "A named plane of a node type, by how the host constructs it (TYPES).")
            .Field(GET(GetPlaneType), "how it is constructed (TYPES)")
            .Field(GET(GetMemberName), "the member (types 0 to 2)")
            .Field(GET(GetStrPlaneDesc), "a description (types 0 to 2)")
            .Field(GET(GetPointName), "the point (type 3)")
            .Field(GET(GetNormalName), "the normal vector (type 3)")
            .Field(GET(GetRelPlaneName), "the plane it is taken from (types 4 and 5)")
            .Field(GET(GetStrRelativeLen), "how far from it, an expression (type 4)")
            .Field(GET(GetRefMemName), "a reference member (types 0 to 2)");
    }
    {
        using C = CVecDesc;
        Construction<C>(m, "A named vector of a node type, by how the host constructs it (TYPES).")
            .Field(GET(GetVecType), "how it is constructed (TYPES)")
            .Field(GET(GetLineName), "the line (type 0)")
            .Field(GET(GetStrVecDesc), "a description (type 1)")
            .Field(GET(GetVec1Name), "the first vector (type 2)")
            .Field(GET(GetVec2Name), "the second vector (type 2)")
            .Field(GET(GetOldVecName), "the vector it is made from (types 3 and 6)")
            .Field(GET(GetNormVecName), "the normal it turns about (type 3)")
            .Field(GET(GetStrRotateAngle), "the angle, an expression (type 3)")
            .Field(GET(GetParallelPlaneName), "the plane it is parallel to (type 4)")
            .Field(GET(GetMemberName), "the member (types 4 and 7)")
            .Field(GET(GetPerpPlaneName), "the plane it is perpendicular to (type 5)")
            .Field(GET(GetDotProductVecName), "the other vector of the product (type 6)");
    }
    {
        using C = CDistDesc;
        Construction<C>(m, "A named distance of a node type, between two points or two planes (TYPES).")
            .Field(GET(GetDistType), "what it is taken between (TYPES)")
            .Field(GET(GetPoint1Name), "the first point (types 0 to 2)")
            .Field(GET(GetPoint2Name), "the second point (types 0 to 2)")
            .Field(GET(GetPlane1Name), "the first plane (type 3)")
            .Field(GET(GetPlane2Name), "the second plane (type 3)");
    }
}

#undef GET
#undef GETSET
#undef CHILDREN

} // namespace

void BindClasses(py::module_& m)
{
    {
        using C = CBaseDesc;
        ClassBinder<C>(m, "A descriptor: the name other descriptors refer to it by, and the name shown to the user.")
            .Field("GetName", &C::GetName, &C::SetName, "the name other descriptors refer to it by")
            .Field("GetShowName", &C::GetShowName, &C::SetShowName, "the name shown to the user");
    }
    BindNode(m);
    BindParams(m);
    BindParts(m);
    BindGeometry(m);
    m.attr("MATERIALS") = TableOf(SteelSystem::MaterialTable());
    m.attr("BOLT_GRADES") = TableOf(SteelSystem::BoltGradeTable());
    m.attr("BOLT_TYPES") = TableOf(SteelSystem::BoltTypeTable());
    ResolveAttributes();
}

} // namespace kvpy
