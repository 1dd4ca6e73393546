// A whole node definition as an author writes it: read, navigated, written
// and read again without change.
#include "support/NodeTestUtil.h"

#include <sstream>

using kvtest::Elements;
using kvtest::Str;

namespace {

template <class T>
const T* As(const CXMLBase& object)
{
    return object.IsKindOf(T::GetThisClass()) ? static_cast<const T*>(&object) : nullptr;
}

template <class T>
std::string Join(const std::vector<T>& items)
{
    std::ostringstream s;
    for (size_t i = 0; i < items.size(); ++i)
        s << (i ? "," : "") << items[i];
    return s.str();
}

// One line per object with what every getter gives, children indented below.
void Describe(const CXMLBase& object, std::string& out, int depth = 0)
{
    std::ostringstream s;
    s << std::string(static_cast<size_t>(2 * depth), ' ') << object.GetElementName();
    if (const auto* d = As<CBaseDesc>(object))
        s << " name=" << Str(d->GetName()) << " show=" << Str(d->GetShowName());
    if (const auto* root = As<CNodeAttDef>(object))
        s << " version=" << root->GetVersion();
    if (const auto* node = As<CNodeTypeDesc>(object))
        s << " type=" << node->GetNodeType() << " whole=" << node->GetLinkWholeType()
          << " big=" << node->GetLinkBigType();
    if (const auto* m = As<CNodeMemberDesc>(object)) {
        AcArray<int> sides;
        AcArray<double> angles;
        const bool hasSides = m->GetAllowConnectSides(sides);
        const bool hasAngles = m->GetAllowRotateAngles(angles);
        s << " kind=" << Join(Elements(m->GetKindArray())) << " sectype=" << Join(Elements(m->GetSecTypeArray()))
          << " linkplanes=" << Str(m->GetStrLinkPlanes()) << " rotangles=" << Str(m->GetRotateAngles())
          << " linkto=" << Str(m->GetLinkTo()) << " directused=" << m->IsDirectUsed()
          << " sectdesc=" << Str(m->GetSectDesc()) << " end=" << m->IsEndConnect() << " side=" << m->IsSectSideConnect()
          << " sides=" << hasSides << ":" << Join(Elements(sides)) << " angles=" << hasAngles << ":"
          << Join(Elements(angles));
    }
    if (const auto* p = As<CPlateDesc>(object)) {
        CStringArray planes;
        const bool three = p->GetPlaneNames(planes);
        s << " material=" << p->GetMaterial() << " len=" << Str(p->GetLenExp()) << " width=" << Str(p->GetWidthExp())
          << " thick=" << Str(p->GetThickExp()) << " planes=" << three << ":" << Join(kvtest::Strings(planes))
          << " varitem=" << Str(p->GetVarItemName()) << " num=" << p->GetNum();
    }
    if (const auto* c = As<CCutDesc>(object)) {
        CStringArray planes;
        const bool some = c->GetPlaneNames(planes);
        s << " planes=" << some << ":" << Join(kvtest::Strings(planes));
    }
    if (const auto* item = As<CVarItemDesc>(object))
        s << " type=" << Str(item->GetStrType()) << " predefined=" << item->IsPredefined();
    if (const auto* v = As<CVarDesc>(object))
        s << " showvalue=" << Str(v->GetShowValue()) << " value=" << Str(v->GetRealValue()) << " type=" << v->GetType()
          << " format=" << v->GetFormatType();
    if (const auto* text = As<CXMLText>(object))
        s << " text=" << Str(text->GetText());
    out += s.str() + "\n";
    ObjIterator* it = object.CreateIterator();
    for (it->First(); !it->IsDone(); it->Next())
        Describe(*it->CurrentItem(), out, depth + 1);
    object.DeleteIterator(it);
}

std::string Describe(const CXMLDocument& doc)
{
    std::string out;
    if (doc.GetRoot())
        Describe(*doc.GetRoot(), out);
    return out;
}

const char* const kExpected = R"(CNodeAttDef version=1
  CNodeTypeDesc name=BeamColumnEndPlate show=梁柱端板连接 type=20101 whole=2 big=101
    CXMLText text= the beam end is welded to an end plate bolted to the column flange 
    CNodeMemberDesc name=Column show=柱 kind=1 sectype=1,2 linkplanes=1,3 rotangles= linkto= directused=1 sectdesc=H型钢柱 end=0 side=1 sides=1:1,3 angles=0:
    CNodeMemberDesc name=Beam show=梁 kind=2 sectype=1 linkplanes=0 rotangles=0,90,180,270 linkto=Column directused=0 sectdesc= end=1 side=0 sides=0: angles=1:0,90,180,270
    CPlateDesc name=EndPlate show=端板 material=3 len=H+a+c width=B thick=t1 planes=1:EndPlateFace,BeamWebMid,BeamTopFace varitem=EndPlateParams num=0
      CCutDesc name=CornerCut1 show=切角1 planes=1:CornerPlane1
      CCutDesc name=CornerCut2 show=切角2 planes=1:CornerPlane2
    CPlateDesc name=Stiffener show=加劲肋 material=1 len=a width=(B-tw)/2 thick=t2 planes=1:BeamTopFace,BeamWebMid,EndPlateFace varitem=EndPlateParams num=0
      CCutDesc name=Chamfer show=倒角 planes=1:ChamferPlane1,ChamferPlane2
    CVarItemDesc name=EndPlateParams show=端板参数 type=plate predefined=0
      CVarDesc name=a show=上伸长度 showvalue=80 value=80 type=-1 format=g
      CVarDesc name=c show=下伸长度 showvalue=60 value=60 type=-1 format=g
      CVarDesc name=t1 show=端板厚度 showvalue=20 value=20 type=1 format=g
      CVarDesc name=t2 show=加劲肋厚度 showvalue=12 value=12 type=1 format=g
)";

TEST(EndPlateDocument, ReadsNavigatesAndWritesBackUnchanged)
{
    CXMLDocument doc;
    ASSERT_TRUE(doc.LoadFile(KV_TEST_DATA "/node/end_plate_node.xml")) << doc.GetErrorText();
    EXPECT_TRUE(doc.GetWarnings().empty());
    EXPECT_EQ(Describe(doc), Str(kvtest::Gbk(kExpected)));

    const auto* node = As<CNodeTypeDesc>(*static_cast<CXMLComposite*>(doc.GetRoot())->GetChild(0));
    ASSERT_NE(node, nullptr);
    AcArray<CNodeMemberDesc*> members;
    AcArray<CPlateDesc*> plates;
    ASSERT_TRUE(node->GetMemberDescArray(members));
    ASSERT_TRUE(node->GetPlateDescArray(plates));
    ASSERT_EQ(kvtest::Names(members), (std::vector<std::string>{"Column", "Beam"}));
    ASSERT_EQ(kvtest::Names(plates), (std::vector<std::string>{"EndPlate", "Stiffener"}));
    EXPECT_EQ(node->FindMemberByName(members[1]->GetLinkTo()), members[0]);
    EXPECT_EQ(node->FindPlateByName("Stiffener"), plates[1]);

    std::string first;
    ASSERT_TRUE(doc.SaveXml(first)) << doc.GetErrorText();
    EXPECT_NE(first.find(R"(showname="梁柱端板连接")"), std::string::npos) << "written as UTF-8 again";

    CXMLDocument again;
    ASSERT_TRUE(again.LoadXml(first.data(), first.size())) << again.GetErrorText();
    EXPECT_EQ(Describe(again), Describe(doc));
    std::string second;
    ASSERT_TRUE(again.SaveXml(second)) << again.GetErrorText();
    EXPECT_EQ(second, first);
}

} // namespace
