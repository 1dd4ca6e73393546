#pragma once
// Every getter of every descriptor in a tree, as text: two trees that give
// the same text answer every getter alike.
#include <KvNodeDefine/KvNodeDefine.h>

#include <string>

namespace kvtest {

class Dump {
public:
    std::string Of(const CXMLBase& root)
    {
        Walk(root, 0);
        return m_out;
    }

private:
    void Put(const char* key, const CString& value)
    {
        m_out += key;
        m_out += '=';
        m_out.append(value.GetString(), static_cast<size_t>(value.GetLength()));
        m_out += ';';
    }
    void Put(const char* key, const char* value) { Put(key, CString(value)); }
    void Put(const char* key, double value) { Put(key, std::to_string(value).c_str()); }
    void Put(const char* key, const CStringArray& values)
    {
        m_out += key;
        m_out += '[';
        for (INT_PTR i = 0; i < values.GetSize(); ++i)
            Put("", values[i]);
        m_out += ']';
    }
    template <class T, class R>
    void Put(const char* key, bool ok, const AcArray<T, R>& values)
    {
        m_out += key;
        m_out += ok ? "[" : "!(";
        for (int i = 0; i < values.length(); ++i)
            Put("", static_cast<double>(values[i]));
        m_out += ']';
    }
    template <class T, class R>
    void Put(const char* key, const AcArray<T, R>& values)
    {
        Put(key, true, values);
    }
    // a typed child list: whether it succeeded and how many it gave
    template <class T>
    void Count(const char* key, bool ok, const AcArray<T*>& items)
    {
        Put(key, (ok ? "ok:" : "no:") + std::to_string(items.length()));
    }
    void Put(const char* key, const std::string& value) { Put(key, value.c_str()); }

    void Base(const CBaseDesc& d)
    {
        Put("name", d.GetName());
        Put("showname", d.GetShowName());
    }

    void Describe(const CXMLBase& o)
    {
        m_out += o.GetElementName();
        m_out += ':';
        if (auto* d = Cast<CNodeAttDef>(o))
            Put("version", d->GetVersion());
        if (auto* d = Cast<CBaseDesc>(o))
            Base(*d);
        if (auto* d = Cast<CNodeTypeDesc>(o))
            NodeType(*d);
        if (auto* d = Cast<CNodeMemberDesc>(o))
            Member(*d);
        if (auto* d = Cast<CPlateDesc>(o)) {
            CStringArray planes;
            const bool three = d->GetPlaneNames(planes);
            AcArray<CCutDesc*> cuts;
            Count("cuts", d->GetCutDescArray(cuts), cuts);
            Put("material", d->GetMaterial()), Put("len", d->GetLenExp()), Put("width", d->GetWidthExp());
            Put("thick", d->GetThickExp()), Put("planes", d->GetPlaneNames()), Put("three", three), Put("split", planes);
            Put("varitem", d->GetVarItemName()), Put("num", d->GetNum());
        }
        if (auto* d = Cast<CCutDesc>(o)) {
            CStringArray planes;
            Put("any", d->GetPlaneNames(planes)), Put("split", planes), Put("planes", d->GetPlaneNames());
        }
        if (auto* d = Cast<CBoltGroupDesc>(o)) {
            AcArray<CBoltPlaneDesc*> planes;
            Count("boltplanes", d->GetBoltPlaneDescArray(planes), planes);
            Put("father", d->GetFatherName()), Put("side", d->GetFatherSideIndex()), Put("prior", d->GetPriorFlag());
            Put("material", d->GetMaterial()), Put("grade", d->GetBoltGrade()), Put("type", d->GetBoltType());
            Put("diam", d->GetDiamExp()), Put("len", d->GetLenExp()), Put("num", d->GetNumExp());
            Put("varitem", d->GetVarItemName());
        }
        if (auto* d = Cast<CBoltDesc>(o)) {
            AcArray<CBoltPlaneDesc*> planes;
            Count("boltplanes", d->GetBoltPlaneDescArray(planes), planes);
            Put("material", d->GetMaterial()), Put("grade", d->GetBoltGrade()), Put("diam", d->GetDiamExp());
            Put("len", d->GetLenExp()), Put("num", d->GetNumExp()), Put("dlen", d->GetDianBanLenExp());
            Put("dwidth", d->GetDianBanWidthExp()), Put("dthick", d->GetDianBanThickExp());
            Put("father", d->GetFatherName()), Put("point", d->GetPointName()), Put("plane", d->GetPlaneName());
            Put("varitem", d->GetVarItemName());
        }
        if (auto* d = Cast<CBoltPlaneDesc>(o))
            Put("plane", d->GetPlaneName()), Put("father", d->GetFatherName());
        if (auto* d = Cast<CLinkBarDesc>(o)) {
            AcArray<CPlaneDesc*> planes;
            AcArray<CCutDesc*> cuts;
            Count("planes", d->GetPlaneDescArray(planes), planes);
            Count("cuts", d->GetCutDescArray(cuts), cuts);
            Put("sectype", d->GetSecTypeArray()), Put("sect", d->GetSecSize()), Put("len", d->GetLenExp());
            Put("a1", d->GetAttachPlane1()), Put("a2", d->GetAttachPlane2()), Put("a3", d->GetAttachPlane3());
            Put("first", d->GetFirstIndex()), Put("second", d->GetSecondIndex());
        }
        if (auto* d = Cast<CVarItemDesc>(o)) {
            AcArray<CVarDesc*> vars;
            Count("vars", d->GetVarDescArray(vars), vars);
            Put("type", d->GetStrType()), Put("predefined", d->IsPredefined());
        }
        if (auto* d = Cast<CVarDesc>(o)) {
            CStringArray values;
            Put("haslist", d->GetValueList(values)), Put("values", values);
            Put("show", d->GetShowValue()), Put("value", d->GetRealValue()), Put("type", d->GetType());
            Put("format", CString(std::string(1, d->GetFormatType()).c_str()));
        }
        if (auto* d = Cast<CValueListDesc>(o)) {
            CStringArray values;
            d->GetValueList(values);
            Put("values", values);
        }
        if (auto* d = Cast<CPointDesc>(o)) {
            Put("type", d->GetPointType()), Put("mem", d->GetMemberName()), Put("line", d->GetLineName());
            Put("plane", d->GetPlaneName()), Put("line1", d->GetLine1Name()), Put("line2", d->GetLine2Name());
            Put("desc", d->GetStrPointDesc()), Put("old", d->GetOldPointName()), Put("vec", d->GetVecName());
            Put("rellen", d->GetStrRelLen());
        }
        if (auto* d = Cast<CLineDesc>(o)) {
            Put("type", d->GetLineType()), Put("mem", d->GetMemberName()), Put("plane1", d->GetPlane1Name());
            Put("plane2", d->GetPlane2Name()), Put("point", d->GetPointName()), Put("vec", d->GetVecName());
            Put("point1", d->GetPoint1Name()), Put("point2", d->GetPoint2Name());
        }
        if (auto* d = Cast<CPlaneDesc>(o)) {
            Put("type", d->GetPlaneType()), Put("mem", d->GetMemberName()), Put("desc", d->GetStrPlaneDesc());
            Put("point", d->GetPointName()), Put("norm", d->GetNormalName()), Put("rel", d->GetRelPlaneName());
            Put("rellen", d->GetStrRelativeLen()), Put("refmem", d->GetRefMemName());
        }
        if (auto* d = Cast<CVecDesc>(o)) {
            Put("type", d->GetVecType()), Put("line", d->GetLineName()), Put("desc", d->GetStrVecDesc());
            Put("vec1", d->GetVec1Name()), Put("vec2", d->GetVec2Name()), Put("old", d->GetOldVecName());
            Put("norm", d->GetNormVecName()), Put("angle", d->GetStrRotateAngle());
            Put("parallel", d->GetParallelPlaneName()), Put("mem", d->GetMemberName());
            Put("perp", d->GetPerpPlaneName()), Put("dot", d->GetDotProductVecName());
        }
        if (auto* d = Cast<CDistDesc>(o)) {
            Put("type", d->GetDistType()), Put("point1", d->GetPoint1Name()), Put("point2", d->GetPoint2Name());
            Put("plane1", d->GetPlane1Name()), Put("plane2", d->GetPlane2Name());
        }
    }

    void NodeType(const CNodeTypeDesc& d)
    {
        Put("nodetype", d.GetNodeType()), Put("big", d.GetLinkBigType()), Put("whole", d.GetLinkWholeType());
        AcArray<CNodeMemberDesc*> members;
        AcArray<CPlateDesc*> plates;
        AcArray<CBoltGroupDesc*> groups;
        AcArray<CBoltDesc*> bolts;
        AcArray<CLinkBarDesc*> bars;
        AcArray<CVarItemDesc*> items;
        AcArray<CPointDesc*> points;
        AcArray<CLineDesc*> lines;
        AcArray<CPlaneDesc*> planes;
        AcArray<CVecDesc*> vecs;
        AcArray<CDistDesc*> dists;
        Count("members", d.GetMemberDescArray(members), members), Count("plates", d.GetPlateDescArray(plates), plates);
        Count("groups", d.GetBoltGroupDescArray(groups), groups), Count("bolts", d.GetBoltDescArray(bolts), bolts);
        Count("bars", d.GetLinkBarDescArray(bars), bars), Count("items", d.GetVarItemDescArray(items), items);
        Count("points", d.GetPointDescArray(points), points), Count("lines", d.GetLineDescArray(lines), lines);
        Count("planes", d.GetPlaneDescArray(planes), planes), Count("vecs", d.GetVecDescArray(vecs), vecs);
        Count("dists", d.GetDistDescArray(dists), dists);
        // every lookup by name finds the first child of that name
        for (int i = 0; i < members.length(); ++i)
            Put("found", d.FindMemberByName(members[i]->GetName()) == members[i]);
        for (int i = 0; i < plates.length(); ++i)
            Put("found", d.FindPlateByName(plates[i]->GetName()) == plates[i]);
        for (int i = 0; i < bars.length(); ++i)
            Put("found", d.FindLinkBarByName(bars[i]->GetName()) == bars[i]);
    }

    void Member(const CNodeMemberDesc& d)
    {
        AcArray<int> sides;
        AcArray<double> angles;
        AcArray<CCutDesc*> cuts;
        const bool hasSides = d.GetAllowConnectSides(sides);
        const bool hasAngles = d.GetAllowRotateAngles(angles);
        Count("cuts", d.GetCutDescArray(cuts), cuts);
        Put("kind", d.GetKindArray()), Put("sectype", d.GetSecTypeArray()), Put("planes", d.GetStrLinkPlanes());
        Put("angles", d.GetRotateAngles()), Put("linkto", d.GetLinkTo()), Put("direct", d.IsDirectUsed());
        Put("sect", d.GetSectDesc()), Put("end", d.IsEndConnect()), Put("side", d.IsSectSideConnect());
        Put("sides", hasSides, sides), Put("allowed", hasAngles, angles);
    }

    template <class T>
    static const T* Cast(const CXMLBase& o)
    {
        return o.IsKindOf(T::GetThisClass()) ? static_cast<const T*>(&o) : nullptr;
    }

    void Walk(const CXMLBase& o, int depth)
    {
        m_out.append(static_cast<size_t>(depth), ' ');
        Describe(o);
        m_out += '\n';
        ObjIterator* it = o.CreateIterator();
        for (it->First(); !it->IsDone(); it->Next())
            if (const CXMLBase* child = it->CurrentItem())
                Walk(*child, depth + 1);
        o.DeleteIterator(it);
    }

    std::string m_out;
};

inline std::string DumpTree(const CXMLBase& root) { return Dump().Of(root); }

} // namespace kvtest
