// plate-planes, cut-planes, bolt-planes, linkbar-planes, empty-value-list, empty-size
#include "rules/LintContext.h"

namespace kvnode {

namespace {

std::string Count(long long n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// the counts the classes themselves test, and value lists without values
void Counts(LintContext& c, const CXMLBase& o, Kind kind)
{
    std::string problem;
    RuleId rule = RuleId::PlatePlanes;
    if (kind == Kind::Plate) {
        CStringArray names;
        if (!static_cast<const CPlateDesc&>(o).GetPlaneNames(names))
            problem = "\"planes\" holds " + Count(names.GetSize(), "name") + "; a plate needs three";
    } else if (kind == Kind::Cut) {
        CStringArray names;
        rule = RuleId::CutPlanes;
        if (!static_cast<const CCutDesc&>(o).GetPlaneNames(names))
            problem = "\"planes\" holds no name; a cut needs at least one";
    } else if (kind == Kind::Bolt || kind == Kind::BoltGroup) {
        AcArray<CBoltPlaneDesc*> planes;
        rule = RuleId::BoltPlanes;
        const bool ok = kind == Kind::Bolt ? static_cast<const CBoltDesc&>(o).GetBoltPlaneDescArray(planes)
                                           : static_cast<const CBoltGroupDesc&>(o).GetBoltPlaneDescArray(planes);
        if (!ok)
            problem = "has " + Count(planes.length(), "bolt plane") + "; it needs at least two";
    } else if (kind == Kind::LinkBar) {
        AcArray<CPlaneDesc*> planes;
        rule = RuleId::LinkBarPlanes;
        if (!static_cast<const CLinkBarDesc&>(o).GetPlaneDescArray(planes))
            problem = "has " + Count(planes.length(), "plane") + "; a link bar needs exactly three";
    } else if (kind == Kind::Var) {
        CStringArray values;
        rule = RuleId::EmptyValueList;
        if (static_cast<const CVarDesc&>(o).GetValueList(values) && values.IsEmpty())
            problem = "has a value list without values";
    }
    if (!problem.empty())
        c.Add(rule, o, Label(o) + (problem[0] == '"' ? ": " : " ") + problem);
}

struct Size {
    const char* attribute;
    const char* what;
    CString value;
};

// the expressions that size a part
std::vector<Size> SizesOf(const CXMLBase& o, Kind kind)
{
    switch (kind) {
    case Kind::Plate: {
        const auto& p = static_cast<const CPlateDesc&>(o);
        return {{"lenexp", "length", p.GetLenExp()},
                {"widthexp", "width", p.GetWidthExp()},
                {"thickexp", "thickness", p.GetThickExp()}};
    }
    case Kind::Bolt: {
        const auto& b = static_cast<const CBoltDesc&>(o);
        return {{"diam", "diameter", b.GetDiamExp()},
                {"len", "length", b.GetLenExp()},
                {"num", "number", b.GetNumExp()}};
    }
    case Kind::BoltGroup: {
        const auto& g = static_cast<const CBoltGroupDesc&>(o);
        return {{"diam", "diameter", g.GetDiamExp()},
                {"len", "length", g.GetLenExp()},
                {"num", "number", g.GetNumExp()}};
    }
    case Kind::LinkBar:
        return {{"len", "length", static_cast<const CLinkBarDesc&>(o).GetLenExp()}};
    default:
        return {};
    }
}

} // namespace

void CheckPart(LintContext& c, const CXMLBase& o)
{
    const Kind kind = KindOf(o);
    Counts(c, o, kind);
    for (const Size& s : SizesOf(o, kind))
        if (s.value.IsEmpty())
            c.Add(RuleId::EmptySize, o,
                  Label(o) + ": \"" + s.attribute + "\" is empty: the host has no " + s.what + " to size it with");
}

} // namespace kvnode
