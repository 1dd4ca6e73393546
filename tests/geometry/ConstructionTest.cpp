#include "support/DescTestUtil.h"

#include <KvNodeDefine/CDistDesc.h>
#include <KvNodeDefine/CLineDesc.h>
#include <KvNodeDefine/CNodeTypeDesc.h>
#include <KvNodeDefine/CPlaneDesc.h>
#include <KvNodeDefine/CPointDesc.h>
#include <KvNodeDefine/CVecDesc.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace kvtest;

namespace {

// A construction class seen from outside: its attributes in load order with
// the getters that show them, and which attributes each type saves after
// "type". A name ending in '?' is saved only when its field holds text.
struct Construction {
    std::string element;
    Names attributes;
    std::function<int(const CXMLBase&)> type;
    std::function<Names(const CXMLBase&)> fields; // in the order of attributes
    std::vector<std::pair<int, Names>> saves;
};

template <class T>
using Getter = CString (T::*)() const;

template <class T, class E>
Construction Describe(E (T::*type)() const, std::vector<std::pair<const char*, Getter<T>>> attributes,
                      std::vector<std::pair<int, Names>> saves)
{
    Construction c;
    c.element = T::GetThisClass()->m_lpszClassName;
    for (const auto& a : attributes)
        c.attributes.push_back(a.first);
    c.type = [type](const CXMLBase& o) { return static_cast<int>((static_cast<const T&>(o).*type)()); };
    c.fields = [attributes](const CXMLBase& o) {
        Names texts;
        for (const auto& a : attributes)
            texts.push_back(Str((static_cast<const T&>(o).*a.second)()));
        return texts;
    };
    c.saves = std::move(saves);
    return c;
}

const std::vector<Construction>& Constructions()
{
    using Pt = CPointDesc;
    using Ln = CLineDesc;
    using Pl = CPlaneDesc;
    using Vc = CVecDesc;
    using Ds = CDistDesc;
    static const std::vector<Construction> all = {
        Describe(&Pt::GetPointType,
                 {{"memname", &Pt::GetMemberName}, {"line", &Pt::GetLineName}, {"plane", &Pt::GetPlaneName},
                  {"line1", &Pt::GetLine1Name}, {"line2", &Pt::GetLine2Name}, {"pointdesc", &Pt::GetStrPointDesc},
                  {"oldpoint", &Pt::GetOldPointName}, {"vec", &Pt::GetVecName}, {"rellen", &Pt::GetStrRelLen}},
                 {{0, {"memname"}}, {1, {"line", "plane"}}, {2, {"line1", "line2"}}, {3, {"pointdesc"}},
                  {4, {"oldpoint", "vec", "rellen"}}, {5, {}}, {-1, {}}}),
        Describe(&Ln::GetLineType,
                 {{"memname", &Ln::GetMemberName}, {"plane1", &Ln::GetPlane1Name}, {"plane2", &Ln::GetPlane2Name},
                  {"point", &Ln::GetPointName}, {"vec", &Ln::GetVecName}, {"point1", &Ln::GetPoint1Name},
                  {"point2", &Ln::GetPoint2Name}},
                 {{0, {"memname"}}, {1, {"plane1", "plane2"}}, {2, {"point", "vec"}}, {3, {"point1", "point2"}},
                  {4, {}}, {-1, {}}}),
        Describe(&Pl::GetPlaneType,
                 {{"memname", &Pl::GetMemberName}, {"strdesc", &Pl::GetStrPlaneDesc}, {"point", &Pl::GetPointName},
                  {"norm", &Pl::GetNormalName}, {"relplane", &Pl::GetRelPlaneName},
                  {"rellen", &Pl::GetStrRelativeLen}, {"refmem", &Pl::GetRefMemName}},
                 {{0, {"memname", "strdesc", "refmem?"}}, {1, {"memname", "strdesc", "refmem?"}},
                  {2, {"memname", "strdesc", "refmem?"}}, {3, {"point", "norm"}}, {4, {"rellen", "relplane"}},
                  {5, {"relplane"}}, {6, {}}, {-1, {}}}),
        Describe(&Vc::GetVecType,
                 {{"line", &Vc::GetLineName}, {"vecdesc", &Vc::GetStrVecDesc}, {"vec1", &Vc::GetVec1Name},
                  {"vec2", &Vc::GetVec2Name}, {"oldvec", &Vc::GetOldVecName}, {"norm", &Vc::GetNormVecName},
                  {"rotangle", &Vc::GetStrRotateAngle}, {"parellelplane", &Vc::GetParallelPlaneName},
                  {"memname", &Vc::GetMemberName}, {"perpplane", &Vc::GetPerpPlaneName},
                  {"dotproductvec", &Vc::GetDotProductVecName}},
                 {{0, {"line"}}, {1, {"vecdesc"}}, {2, {"vec1", "vec2"}}, {3, {"oldvec", "norm", "rotangle"}},
                  {4, {"parellelplane", "memname"}}, {5, {"perpplane"}}, {6, {"oldvec", "dotproductvec"}},
                  {7, {"memname"}}, {8, {}}, {-1, {}}}),
        // the distance tests its type as a signed number
        Describe(&Ds::GetDistType,
                 {{"point1", &Ds::GetPoint1Name}, {"point2", &Ds::GetPoint2Name}, {"plane1", &Ds::GetPlane1Name},
                  {"plane2", &Ds::GetPlane2Name}},
                 {{0, {"point1", "point2"}}, {1, {"point1", "point2"}}, {2, {"point1", "point2"}},
                  {3, {"plane1", "plane2"}}, {4, {}}, {-1, {}}}),
    };
    return all;
}

// The attributes a type saves when its optional ones hold text (filled) or not.
Names Saved(const Names& row, bool filled)
{
    Names names;
    for (const std::string& name : row)
        if (name.back() != '?')
            names.push_back(name);
        else if (filled)
            names.push_back(name.substr(0, name.size() - 1));
    return names;
}

bool Contains(const Names& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// <Element name="N" showname="S" type="..." a="a.v" ...> with every attribute when filled
std::string Element(const Construction& c, int type, bool filled)
{
    std::string xml = "<" + c.element + " name=\"N\" showname=\"S\" type=\"" + std::to_string(type) + "\"";
    if (filled)
        for (const std::string& a : c.attributes)
            xml += " " + a + "=\"" + a + ".v\"";
    return xml + "/>";
}

TEST(Construction, SavesTypeThenTheAttributesOfTheType)
{
    for (const Construction& c : Constructions())
        for (const auto& [type, row] : c.saves) {
            const std::string xml = Element(c, type, false);
            SCOPED_TRACE(xml);
            CXMLDocument doc;
            ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size()));
            Save(doc);
            AttPairs expected{{"name", "N"}, {"showname", "S"}, {"type", std::to_string(type)}};
            for (const std::string& name : Saved(row, false))
                expected.emplace_back(name, ""); // empty texts are written too
            EXPECT_EQ(Atts(*doc.GetRoot()), expected);
        }
}

// Every attribute loads whatever the type; a save rewrites only those of the
// type from the fields and leaves the others in the list as they stand.
TEST(Construction, LoadsEveryAttributeAndRewritesOnlyItsOwn)
{
    for (const Construction& c : Constructions())
        for (const auto& [type, row] : c.saves) {
            const std::string xml = Element(c, type, true);
            SCOPED_TRACE(xml);
            CXMLDocument doc;
            ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size()));
            CXMLBase& desc = *doc.GetRoot();
            EXPECT_EQ(c.type(desc), type);
            Names loaded;
            for (const std::string& a : c.attributes)
                loaded.push_back(a + ".v");
            EXPECT_EQ(c.fields(desc), loaded);

            for (const std::string& a : c.attributes)
                desc.SetAttText(a.c_str(), "stale");
            const Names names = AttNames(desc);
            Save(doc);
            EXPECT_EQ(AttNames(desc), names);
            const Names saved = Saved(row, true);
            for (const std::string& a : c.attributes)
                EXPECT_EQ(Att(desc, a.c_str()), Contains(saved, a) ? a + ".v" : "stale") << a;
        }
}

TEST(Construction, TypeByTheAtoiRule)
{
    const struct {
        const char* attribute; // null: absent
        int type;
    } cases[] = {{"3x", 3}, {"", 0}, {nullptr, 0}, {" +2", 2}, {"-1", -1}, {"x3", 0}};
    for (const Construction& c : Constructions())
        for (const auto& t : cases) {
            const std::string xml =
                "<" + c.element + (t.attribute ? std::string(" type=\"") + t.attribute + "\"" : "") + "/>";
            CXMLDocument doc;
            ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << xml;
            EXPECT_EQ(c.type(*doc.GetRoot()), t.type) << xml;
        }
}

TEST(Construction, CreateNewOnALoadedOneIsEmpty)
{
    for (const Construction& c : Constructions()) {
        const std::string xml = Element(c, 3, true);
        CXMLDocument doc;
        ASSERT_TRUE(doc.LoadXml(xml.data(), xml.size())) << xml;
        const std::unique_ptr<CObject> fresh(doc.GetRoot()->CreateNew());
        ASSERT_TRUE(fresh);
        ASSERT_EQ(fresh->GetRuntimeClass(), doc.GetRoot()->GetRuntimeClass()) << xml;
        const auto& desc = static_cast<const CBaseDesc&>(*fresh);
        EXPECT_EQ(c.type(desc), 0) << xml;
        EXPECT_EQ(c.fields(desc), Names(c.attributes.size())) << xml;
        EXPECT_EQ(Str(desc.GetName()), "") << xml;
        EXPECT_TRUE(AttNames(desc).empty()) << xml;
    }
}

// The tables above cover "refmem" written or not by its text; an empty one
// from the load stays in the list.
TEST(Plane, EmptyReferenceMemberFromTheLoadStays)
{
    CXMLDocument doc;
    CPlaneDesc* plane = LoadFirst<CPlaneDesc>(doc, R"(<CPlaneDesc name="PL" showname="" type="0" refmem=""/>)");
    ASSERT_TRUE(plane);
    Save(doc);
    EXPECT_EQ(Atts(*plane), (AttPairs{{"name", "PL"}, {"showname", ""}, {"type", "0"}, {"refmem", ""},
                                      {"memname", ""}, {"strdesc", ""}}));
}

// Spelled as the getter is, the attribute is another one, kept but not read.
TEST(Vec, ParallelPlaneIsSpelledParellel)
{
    CXMLDocument doc;
    CVecDesc* vec = LoadFirst<CVecDesc>(doc, R"(<CVecDesc name="V" showname="" type="4" parallelplane="PL_Web"/>)");
    ASSERT_TRUE(vec);
    EXPECT_EQ(Str(vec->GetParallelPlaneName()), "");
    Save(doc);
    EXPECT_EQ(Atts(*vec), (AttPairs{{"name", "V"}, {"showname", ""}, {"type", "4"}, {"parallelplane", "PL_Web"},
                                    {"parellelplane", ""}, {"memname", ""}}));
}

// A beam-to-column joint: the column flange plane, the beam axis, the work
// point where the axis meets the flange, and a stiffener direction turned
// from the beam's.
const char* const kBeamToColumn = R"(<CNodeTypeDesc name="BC1" showname="Beam to column" nodetype="10101">
  <CPlaneDesc name="PL_ColFlange" showname="Column flange" type="1" memname="Column" strdesc="FlangeOuter" refmem="Beam"/>
  <CLineDesc name="L_Beam" showname="Beam axis" type="0" memname="Beam"/>
  <CPointDesc name="P_Work" showname="Work point" type="1" line="L_Beam" plane="PL_ColFlange"/>
  <CVecDesc name="V_Beam" showname="" type="0" line="L_Beam"/>
  <CVecDesc name="V_Stiff" showname="Stiffener" type="3" oldvec="V_Beam" norm="V_Col" rotangle="90"/>
</CNodeTypeDesc>)";

TEST(BeamToColumn, LoadsTheConstructionsAndSavesThemAgain)
{
    CXMLDocument doc;
    CNodeTypeDesc* node = LoadFirst<CNodeTypeDesc>(doc, kBeamToColumn);
    ASSERT_TRUE(node);
    AcArray<CPointDesc*> points;
    AcArray<CPlaneDesc*> planes;
    AcArray<CVecDesc*> vecs;
    ASSERT_TRUE(node->GetPointDescArray(points) && node->GetPlaneDescArray(planes) && node->GetVecDescArray(vecs));
    ASSERT_EQ(points.length(), 1);
    ASSERT_EQ(planes.length(), 1);
    ASSERT_EQ(vecs.length(), 2);

    EXPECT_EQ(planes[0]->GetPlaneType(), CPlaneDesc::PlaneByMember1);
    EXPECT_EQ(Str(planes[0]->GetMemberName()), "Column");
    EXPECT_EQ(Str(planes[0]->GetStrPlaneDesc()), "FlangeOuter");
    EXPECT_EQ(Str(planes[0]->GetRefMemName()), "Beam");
    EXPECT_EQ(points[0]->GetPointType(), CPointDesc::PointByLinePlane);
    EXPECT_EQ(points[0]->GetPlaneName(), planes[0]->GetName());
    EXPECT_EQ(Str(points[0]->GetLineName()), "L_Beam");
    EXPECT_EQ(vecs[1]->GetVecType(), CVecDesc::VecByRotate);
    EXPECT_EQ(vecs[1]->GetOldVecName(), vecs[0]->GetName());
    EXPECT_EQ(Str(vecs[1]->GetNormVecName()), "V_Col");
    EXPECT_EQ(Str(vecs[1]->GetStrRotateAngle()), "90");

    const std::string text = Save(doc);
    CXMLDocument again;
    ASSERT_TRUE(again.LoadXml(text.data(), text.size())) << again.GetErrorText();
    EXPECT_EQ(Save(again), text);
    EXPECT_EQ(Atts(*points[0]), (AttPairs{{"name", "P_Work"}, {"showname", "Work point"}, {"type", "1"},
                                          {"line", "L_Beam"}, {"plane", "PL_ColFlange"}}));
}

} // namespace
