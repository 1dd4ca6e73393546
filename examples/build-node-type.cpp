// Builds a whole node type in code, every class of the library, saves it,
// loads it back and walks it as a host would.
//
//     build-node-type OUT.xml
//
// Two things to know when building in code:
// - Texts are GBK, the hosts' code page. A UTF-8 literal is converted first
//   (Gbk below); stored as it is, "柱" would be saved as other characters,
//   or not at all.
// - Plates, cuts, bolt planes and the constructions have no setters: their
//   fields come from their attribute texts through RefreshMemberWithAttList.
//   kvnodedefine::BuildDesc sets the texts and runs it once. A SetName before
//   that refresh would be undone by it, and a SetAttText without it would be
//   overwritten from the fields by the next save.
#include <KvNodeDefine/KvNodeDefine.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using kvnodedefine::BuildDesc;

// The GBK text of a UTF-8 literal of this file.
CString Gbk(const char* utf8)
{
    CString gbk;
    if (!kvnodedefine::Utf8ToGbk(utf8, gbk)) {
        std::fprintf(stderr, "build-node-type: \"%s\" is not a GBK text\n", utf8);
        std::exit(1);
    }
    return gbk;
}

// Hands child to parent, which owns it from then on.
template <class T>
T* Add(CXMLBase& parent, std::unique_ptr<T> child)
{
    T* added = child.get();
    if (!parent.Add(added)) {
        std::fprintf(stderr, "build-node-type: %s was refused\n", added->GetRuntimeClass()->m_lpszClassName);
        std::exit(1);
    }
    child.release();
    return added;
}

void AddMembers(CNodeTypeDesc& node)
{
    // a column connected at the sides 1 and 3 of its section
    Add(node, BuildDesc<CNodeMemberDesc>({{"name", "Column"}, {"showname", Gbk("柱")}, {"kind", "1"},
                                          {"sectype", "1,2"}, {"linkplanes", "1,3"}, {"sectdesc", Gbk("H型钢柱")}}));
    // a brace that ends at the gusset, turned by 0 or 180 degrees, cut by the gusset's face
    CNodeMemberDesc* brace = Add(node, BuildDesc<CNodeMemberDesc>({{"name", "Brace"}, {"showname", Gbk("支撑")},
                                                                   {"kind", "3"}, {"sectype", "4"},
                                                                   {"linkplanes", "0"}, {"rotangles", "0,180"},
                                                                   {"linkto", "Column"}}));
    Add(*brace, BuildDesc<CCutDesc>({{"name", "BraceEnd"}, {"showname", Gbk("支撑端切割")}, {"planes", "GussetFace"}}));
}

void AddConstructions(CNodeTypeDesc& node)
{
    Add(node, BuildDesc<CLineDesc>({{"name", "BraceAxis"}, {"showname", Gbk("支撑轴线")}, {"type", "0"},
                                    {"memname", "Brace"}}));
    Add(node, BuildDesc<CVecDesc>({{"name", "BraceDir"}, {"showname", Gbk("支撑方向")}, {"type", "0"},
                                   {"line", "BraceAxis"}}));
    Add(node, BuildDesc<CVecDesc>({{"name", "ColumnDir"}, {"showname", Gbk("柱方向")}, {"type", "7"},
                                   {"memname", "Column"}}));
    Add(node, BuildDesc<CVecDesc>({{"name", "GussetNormal"}, {"showname", Gbk("节点板法向")}, {"type", "2"},
                                   {"vec1", "BraceDir"}, {"vec2", "ColumnDir"}}));
    Add(node, BuildDesc<CPlaneDesc>({{"name", "FlangeFace"}, {"showname", Gbk("柱翼缘外侧")}, {"type", "0"},
                                     {"memname", "Column"}, {"strdesc", Gbk("翼缘外侧")}, {"refmem", "Brace"}}));
    Add(node, BuildDesc<CPointDesc>({{"name", "WorkPoint"}, {"showname", Gbk("工作点")}, {"type", "1"},
                                     {"line", "BraceAxis"}, {"plane", "FlangeFace"}}));
    Add(node, BuildDesc<CPlaneDesc>({{"name", "GussetFace"}, {"showname", Gbk("节点板面")}, {"type", "3"},
                                     {"point", "WorkPoint"}, {"norm", "GussetNormal"}}));
    Add(node, BuildDesc<CPlaneDesc>({{"name", "GussetBack"}, {"showname", Gbk("节点板背面")}, {"type", "4"},
                                     {"rellen", "@Gusset_Thick"}, {"relplane", "GussetFace"}}));
    Add(node, BuildDesc<CPointDesc>({{"name", "BoltPoint"}, {"showname", Gbk("螺栓点")}, {"type", "4"},
                                     {"oldpoint", "WorkPoint"}, {"vec", "BraceDir"}, {"rellen", "@Bolt_Edge"}}));
    Add(node, BuildDesc<CDistDesc>({{"name", "GussetThickness"}, {"showname", Gbk("节点板厚度")}, {"type", "3"},
                                    {"plane1", "GussetFace"}, {"plane2", "GussetBack"}}));
}

void AddParts(CNodeTypeDesc& node)
{
    CPlateDesc* gusset = Add(node, BuildDesc<CPlateDesc>({{"name", "Gusset"}, {"showname", Gbk("节点板")},
                                                          {"material", "1"}, {"lenexp", "@Gusset_Len"},
                                                          {"widthexp", "@Gusset_Width"}, {"thickexp", "@Gusset_Thick"},
                                                          {"planes", "GussetFace,FlangeFace,GussetBack"},
                                                          {"varitem", "Gusset"}}));
    Add(*gusset, BuildDesc<CCutDesc>({{"name", "Corner"}, {"showname", Gbk("切角")}, {"planes", "FlangeFace"}}));

    CBoltGroupDesc* bolts = Add(node, BuildDesc<CBoltGroupDesc>({{"name", "GussetBolts"}, {"showname", Gbk("节点板螺栓")},
                                                                 {"material", "1"}, {"boltgrade", "7"},
                                                                 {"bolttype", "3"}, {"diam", "@Bolt_BoltDiam"},
                                                                 {"len", "@Bolt_Len"}, {"num", "@Bolt_Num"},
                                                                 {"fathername", "Gusset"}, {"fatherindex", "0"},
                                                                 {"priorflag", "1"}}));
    Add(*bolts, BuildDesc<CBoltPlaneDesc>({{"name", "GussetSide"}, {"plane", "GussetFace"}, {"father", "Gusset"}}));
    Add(*bolts, BuildDesc<CBoltPlaneDesc>({{"name", "BraceSide"}, {"plane", "GussetBack"}, {"father", "Brace"}}));

    // a single bolt has setters, but building it the same way reads as the others
    CBoltDesc* bolt = Add(node, BuildDesc<CBoltDesc>({{"name", "ErectionBolt"}, {"showname", Gbk("安装螺栓")},
                                                      {"material", "1"}, {"boltgrade", "5"},
                                                      {"diam", "@Bolt_BoltDiam"}, {"len", "@Bolt_Len"},
                                                      {"dlen", "60"}, {"dwidth", "60"}, {"dthick", "8"},
                                                      {"fathername", "Gusset"}, {"point", "BoltPoint"},
                                                      {"plane", "GussetFace"}, {"num", "1"}}));
    Add(*bolt, BuildDesc<CBoltPlaneDesc>({{"name", "Near"}, {"plane", "GussetFace"}, {"father", "Gusset"}}));
    Add(*bolt, BuildDesc<CBoltPlaneDesc>({{"name", "Far"}, {"plane", "GussetBack"}, {"father", "Gusset"}}));

    // a bar between the gusset and the column, placed by three planes of its own
    CLinkBarDesc* bar = Add(node, BuildDesc<CLinkBarDesc>({{"name", "Strut"}, {"showname", Gbk("撑杆")},
                                                           {"sectype", "4"}, {"sect", "L63x6"}, {"len", "@Gusset_Len"},
                                                           {"attach1", "StrutStart"}, {"attach2", "StrutEnd"},
                                                           {"attach3", "StrutSide"}}));
    Add(*bar, BuildDesc<CPlaneDesc>({{"name", "StrutStart"}, {"type", "5"}, {"relplane", "GussetFace"}}));
    Add(*bar, BuildDesc<CPlaneDesc>({{"name", "StrutEnd"}, {"type", "5"}, {"relplane", "FlangeFace"}}));
    Add(*bar, BuildDesc<CPlaneDesc>({{"name", "StrutSide"}, {"type", "5"}, {"relplane", "GussetBack"}}));
    Add(*bar, BuildDesc<CCutDesc>({{"name", "StrutCut"}, {"planes", "FlangeFace"}}));
}

// A variable item of name with its variables, each "name=value" (the
// first one with a list of admissible values).
void AddVariables(CNodeTypeDesc& node, const char* name, const char* showName,
                  std::initializer_list<std::pair<const char*, const char*>> vars)
{
    CVarItemDesc* item = Add(node, BuildDesc<CVarItemDesc>({{"name", name}, {"showname", Gbk(showName)},
                                                            {"type", "part"}, {"defineby", "user"}}));
    bool first = true;
    for (const auto& v : vars) {
        CVarDesc* var = Add(*item, BuildDesc<CVarDesc>({{"name", v.first}, {"showvalue", v.second},
                                                        {"value", v.second}, {"type", "1"}}));
        if (first)
            Add(*var, BuildDesc<CValueListDesc>({{"v1", v.second}, {"v2", "ValueString"}}));
        first = false;
    }
}

// A walk as a host makes one: lists, lookups and derived values.
void Report(const CXMLDocument& doc)
{
    const auto* root = static_cast<const CNodeAttDef*>(doc.GetRoot());
    const auto* node = static_cast<const CNodeTypeDesc*>(root->GetChild(0));
    AcArray<CPlateDesc*> plates;
    AcArray<CBoltGroupDesc*> groups;
    AcArray<CPlaneDesc*> planes;
    node->GetPlateDescArray(plates);
    node->GetBoltGroupDescArray(groups);
    node->GetPlaneDescArray(planes);
    CStringArray placing;
    const bool placed = plates[0]->GetPlaneNames(placing);
    AcArray<double> angles;
    node->FindMemberByName("Brace")->GetAllowRotateAngles(angles);
    std::string showName;
    kvnodedefine::GbkToUtf8(node->GetShowName(), showName);
    std::printf("version %d, node type %s (%s), whole type %d\n", root->GetVersion(), node->GetName().GetString(),
                showName.c_str(), node->GetLinkWholeType());
    std::printf("%d plate(s), placed by three planes: %s; %d bolt group(s) sized by item %s; %d plane(s)\n",
                plates.length(), placed ? "yes" : "no", groups.length(), groups[0]->GetVarItemName().GetString(),
                planes.length());
    std::printf("the brace turns by %g or %g degrees\n", angles[0], angles[1]);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: build-node-type OUT.xml\n");
        return 2;
    }
    // The root has no name, and its version is set directly: it converts
    // "Version" only when it is saved or loaded.
    auto* root = new CNodeAttDef;
    root->SetVersion(1);
    CXMLDocument doc;
    doc.SetRoot(root);

    // a node type's own fields have setters or a constructor
    auto* node = Add(*root, std::make_unique<CNodeTypeDesc>("BraceToColumn", Gbk("支撑柱连接"),
                                                           static_cast<LinkSmallType>(20101)));
    AddMembers(*node);
    AddConstructions(*node);
    AddParts(*node);
    AddVariables(*node, "Gusset", "节点板参数", {{"Thick", "12"}, {"Width", "300"}, {"Len", "400"}});
    AddVariables(*node, "Bolt", "螺栓参数", {{"BoltDiam", "20"}, {"Len", "60"}, {"Num", "4"}, {"Edge", "50"}});

    if (!doc.SaveFile(argv[1])) {
        std::fprintf(stderr, "%s\n", doc.GetErrorText().c_str());
        return 1;
    }
    CXMLDocument loaded;
    if (!loaded.LoadFile(argv[1])) {
        std::fprintf(stderr, "%s\n", loaded.GetErrorText().c_str());
        return 1;
    }
    Report(loaded);
    return 0;
}
