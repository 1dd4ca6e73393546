#pragma once
// What the tests share: documents from text and files (a save is read by
// libxml2 too), texts written with C escapes, the library's containers as
// standard ones that GoogleTest compares and prints, and Describe, the one
// walker over every getter, which turns a descriptor tree into a text to
// compare with an expected file under tests/data.
#include "support/Oracle.h"

#include <KvNodeDefine/KvNodeDefine.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kvtest {

using Texts = std::vector<std::string>;

inline std::string Str(const CString& s) { return std::string(s.GetString(), static_cast<size_t>(s.GetLength())); }

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// the bytes of a text written with C escapes: \n \r \t \\ \xHH
inline std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        if (c == 'x') {
            out += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

inline bool LoadText(CXMLDocument& doc, const std::string& text) { return doc.LoadXml(text.data(), text.size()); }

// Saves doc, which runs every descriptor's save refresh, and returns the
// text, which libxml2 must read too.
inline std::string Save(const CXMLDocument& doc)
{
    std::string out;
    EXPECT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
    EXPECT_EQ(Libxml2Problem(out), "") << out;
    return out;
}

template <class T>
T* As(CXMLBase* object)
{
    return object && object->IsKindOf(T::GetThisClass()) ? static_cast<T*>(object) : nullptr;
}
template <class T>
const T* As(const CXMLBase* object)
{
    return object && object->IsKindOf(T::GetThisClass()) ? static_cast<const T*>(object) : nullptr;
}

// The direct children, by the object's own iterator.
inline std::vector<CXMLBase*> Children(const CXMLBase& object)
{
    std::vector<CXMLBase*> items;
    ObjIterator* it = object.CreateIterator();
    for (it->First(); !it->IsDone(); it->Next())
        items.push_back(it->CurrentItem());
    object.DeleteIterator(it);
    return items;
}

inline CXMLBase* Child(const CXMLBase* parent, int index)
{
    return static_cast<const CXMLComposite*>(parent)->GetChild(index);
}

// Loads text into doc and returns its root, which must be a T.
template <class T>
T* LoadRoot(CXMLDocument& doc, const std::string& text)
{
    EXPECT_TRUE(LoadText(doc, text)) << doc.GetErrorText();
    EXPECT_TRUE(As<T>(doc.GetRoot())) << "no " << T::GetThisClass()->m_lpszClassName << " root in " << text;
    return As<T>(doc.GetRoot());
}

// The attributes as they would be written: name="text" ...
inline std::string Atts(const CXMLBase& object)
{
    std::string out;
    const CStringArray& list = object.GetAttList();
    for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2)
        out += (i ? " " : "") + Str(list[i]) + "=\"" + Str(list[i + 1]) + "\"";
    return out;
}

// What a save writes from the fields alone, in the class's own order: a save
// otherwise writes over the attribute list as loaded.
inline std::string SavedFields(CXMLBase& object)
{
    struct Access : CXMLBase {
        static CStringArray& List(CXMLBase& o) { return o.*(&Access::m_AttList); }
    };
    Access::List(object).RemoveAll();
    EXPECT_TRUE(object.RefreshAttListWithMember()) << object.GetElementName();
    return Atts(object);
}

// The names of borrowed descriptors.
template <class T, class R>
Texts Names(const AcArray<T*, R>& items)
{
    Texts out;
    for (int i = 0; i < items.length(); ++i)
        out.push_back(items[i] ? Str(items[i]->GetName()) : "(null)");
    return out;
}

// The GBK text of UTF-8 text, as the library holds it after reading a UTF-8 file.
inline std::string Gbk(const std::string& utf8) { return Iconv(utf8, "UTF-8", "GBK"); }

// ---- Describe: one line per object with what each getter gives, then the
// attributes as read and as a save writes them from the fields.

// a field as text: numbers in decimal, lists joined by commas, texts of a CStringArray quoted
template <class V>
std::string Text(const V& value)
{
    std::ostringstream s;
    s << value;
    return s.str();
}
template <class T, class R>
std::string Text(const AcArray<T, R>& items)
{
    std::string out;
    for (int i = 0; i < items.length(); ++i)
        out += (i ? "," : "") + Text(items[i]);
    return out;
}
inline std::string Text(const CStringArray& items)
{
    std::string out;
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        out += (i ? ",\"" : "\"") + Str(items[i]) + "\"";
    return out;
}
// a list getter's result and what it listed (descriptors: how many): 1:a,b
template <class List>
std::string Got(bool result, const List& items) { return std::to_string(result) + ":" + Text(items); }
template <class T, class R>
std::string Got(bool result, const AcArray<T*, R>& items) { return Got(result, items.length()); }

// Appends " key=value" for each call.
struct Fields {
    std::string text;
    template <class V>
    Fields& operator()(const char* key, const V& value)
    {
        text += " " + std::string(key) + "=" + Text(value);
        return *this;
    }
};

// whether a lookup by name finds each of items (the first of a name): 1 or 0 each
template <class T, class Find>
std::string Found(const AcArray<T*>& items, Find find)
{
    std::string out;
    for (int i = 0; i < items.length(); ++i)
        out += find(items[i]->GetName()) == items[i] ? '1' : '0';
    return out;
}

inline void DescribeNodeType(const CNodeTypeDesc& n, Fields& f)
{
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
    f("type", n.GetNodeType())("whole", n.GetLinkWholeType())("big", n.GetLinkBigType());
    f("members", Got(n.GetMemberDescArray(members), members))("plates", Got(n.GetPlateDescArray(plates), plates));
    f("groups", Got(n.GetBoltGroupDescArray(groups), groups))("bolts", Got(n.GetBoltDescArray(bolts), bolts));
    f("bars", Got(n.GetLinkBarDescArray(bars), bars))("items", Got(n.GetVarItemDescArray(items), items));
    f("points", Got(n.GetPointDescArray(points), points))("lines", Got(n.GetLineDescArray(lines), lines));
    f("planes", Got(n.GetPlaneDescArray(planes), planes))("vecs", Got(n.GetVecDescArray(vecs), vecs));
    f("dists", Got(n.GetDistDescArray(dists), dists));
    f("found", Found(members, [&](const CString& name) { return n.FindMemberByName(name); }) + "|" +
                   Found(plates, [&](const CString& name) { return n.FindPlateByName(name); }) + "|" +
                   Found(bars, [&](const CString& name) { return n.FindLinkBarByName(name); }));
}

inline void DescribeFields(const CXMLBase& o, Fields& f)
{
    if (auto* d = As<CBaseDesc>(&o))
        f("name", d->GetName())("show", d->GetShowName());
    if (auto* r = As<CNodeAttDef>(&o))
        f("version", r->GetVersion());
    if (auto* n = As<CNodeTypeDesc>(&o))
        DescribeNodeType(*n, f);
    if (auto* m = As<CNodeMemberDesc>(&o)) {
        AcArray<int> sides;
        AcArray<double> angles;
        AcArray<CCutDesc*> cuts;
        f("cuts", Got(m->GetCutDescArray(cuts), cuts));
        f("kind", m->GetKindArray())("sectype", m->GetSecTypeArray())("linkplanes", m->GetStrLinkPlanes());
        f("rotangles", m->GetRotateAngles())("linkto", m->GetLinkTo())("directused", m->IsDirectUsed());
        f("sectdesc", m->GetSectDesc())("end", m->IsEndConnect())("side", m->IsSectSideConnect());
        f("sides", Got(m->GetAllowConnectSides(sides), sides))("angles", Got(m->GetAllowRotateAngles(angles), angles));
    }
    if (auto* p = As<CPlateDesc>(&o)) {
        CStringArray planes;
        AcArray<CCutDesc*> cuts;
        f("cuts", Got(p->GetCutDescArray(cuts), cuts));
        f("material", p->GetMaterial())("len", p->GetLenExp())("width", p->GetWidthExp())("thick", p->GetThickExp());
        f("planes", p->GetPlaneNames())("three", Got(p->GetPlaneNames(planes), planes));
        f("varitem", p->GetVarItemName())("num", p->GetNum());
    }
    if (auto* c = As<CCutDesc>(&o)) {
        CStringArray planes;
        f("planes", c->GetPlaneNames())("some", Got(c->GetPlaneNames(planes), planes));
    }
    if (auto* i = As<CVarItemDesc>(&o)) {
        AcArray<CVarDesc*> vars;
        f("type", i->GetStrType())("predefined", i->IsPredefined())("vars", Got(i->GetVarDescArray(vars), vars));
    }
    if (auto* v = As<CVarDesc>(&o)) {
        CStringArray values;
        f("showvalue", v->GetShowValue())("value", v->GetRealValue())("type", v->GetType());
        f("format", v->GetFormatType())("values", Got(v->GetValueList(values), values));
    }
    if (auto* l = As<CValueListDesc>(&o)) {
        CStringArray values;
        f("values", Got(l->GetValueList(values), values));
    }
    if (auto* b = As<CBoltDesc>(&o)) {
        AcArray<CBoltPlaneDesc*> planes;
        f("material", b->GetMaterial())("grade", b->GetBoltGrade())("diam", b->GetDiamExp())("len", b->GetLenExp());
        f("num", b->GetNumExp())("dlen", b->GetDianBanLenExp())("dwidth", b->GetDianBanWidthExp());
        f("dthick", b->GetDianBanThickExp())("father", b->GetFatherName())("point", b->GetPointName());
        f("plane", b->GetPlaneName())("varitem", b->GetVarItemName());
        f("boltplanes", Got(b->GetBoltPlaneDescArray(planes), planes));
    }
    if (auto* g = As<CBoltGroupDesc>(&o)) {
        AcArray<CBoltPlaneDesc*> planes;
        f("father", g->GetFatherName())("side", g->GetFatherSideIndex())("prior", g->GetPriorFlag());
        f("material", g->GetMaterial())("grade", g->GetBoltGrade())("bolttype", g->GetBoltType());
        f("diam", g->GetDiamExp())("len", g->GetLenExp())("num", g->GetNumExp())("varitem", g->GetVarItemName());
        f("boltplanes", Got(g->GetBoltPlaneDescArray(planes), planes));
    }
    if (auto* b = As<CBoltPlaneDesc>(&o))
        f("plane", b->GetPlaneName())("father", b->GetFatherName());
    if (auto* k = As<CLinkBarDesc>(&o)) {
        AcArray<CPlaneDesc*> planes;
        AcArray<CCutDesc*> cuts;
        f("sectype", k->GetSecTypeArray())("sect", k->GetSecSize())("len", k->GetLenExp());
        f("attach", k->GetAttachPlane1() + "|" + k->GetAttachPlane2() + "|" + k->GetAttachPlane3());
        f("first", k->GetFirstIndex())("second", k->GetSecondIndex());
        f("planes", Got(k->GetPlaneDescArray(planes), planes))("cuts", Got(k->GetCutDescArray(cuts), cuts));
    }
    if (auto* p = As<CPointDesc>(&o)) {
        f("type", p->GetPointType())("memname", p->GetMemberName())("line", p->GetLineName());
        f("plane", p->GetPlaneName())("line1", p->GetLine1Name())("line2", p->GetLine2Name());
        f("pointdesc", p->GetStrPointDesc())("oldpoint", p->GetOldPointName())("vec", p->GetVecName());
        f("rellen", p->GetStrRelLen());
    }
    if (auto* l = As<CLineDesc>(&o)) {
        f("type", l->GetLineType())("memname", l->GetMemberName())("plane1", l->GetPlane1Name());
        f("plane2", l->GetPlane2Name())("point", l->GetPointName())("vec", l->GetVecName());
        f("point1", l->GetPoint1Name())("point2", l->GetPoint2Name());
    }
    if (auto* p = As<CPlaneDesc>(&o)) {
        f("type", p->GetPlaneType())("memname", p->GetMemberName())("strdesc", p->GetStrPlaneDesc());
        f("point", p->GetPointName())("norm", p->GetNormalName())("relplane", p->GetRelPlaneName());
        f("rellen", p->GetStrRelativeLen())("refmem", p->GetRefMemName());
    }
    if (auto* v = As<CVecDesc>(&o)) {
        f("type", v->GetVecType())("line", v->GetLineName())("vecdesc", v->GetStrVecDesc());
        f("vec1", v->GetVec1Name())("vec2", v->GetVec2Name())("oldvec", v->GetOldVecName());
        f("norm", v->GetNormVecName())("rotangle", v->GetStrRotateAngle())("parallel", v->GetParallelPlaneName());
        f("memname", v->GetMemberName())("perp", v->GetPerpPlaneName())("dot", v->GetDotProductVecName());
    }
    if (auto* d = As<CDistDesc>(&o)) {
        f("type", d->GetDistType())("point1", d->GetPoint1Name())("point2", d->GetPoint2Name());
        f("plane1", d->GetPlane1Name())("plane2", d->GetPlane2Name());
    }
}

// The walk behind Describe and DescribeReads; withSave adds what a save
// writes, which changes the attribute lists (a save is a write).
inline void DescribeTree(const CXMLBase& object, std::string& out, int depth, bool withSave)
{
    const std::string indent(static_cast<size_t>(2 * depth), ' ');
    if (const auto* text = As<CXMLText>(&object)) {
        out += indent + (text->GetKind() == CXMLText::Comment ? "#" : "text:") + Str(text->GetText()) + "\n";
        return;
    }
    Fields f{indent + object.GetElementName()};
    DescribeFields(object, f);
    out += f.text + "\n";
    const auto line = [&](const char* label, const std::string& atts) {
        out += indent + "  " + label + (atts.empty() ? "" : " ") + atts + "\n";
    };
    if (As<CBaseDesc>(&object)) {
        line("read:", Atts(object));
        if (withSave)
            line("save:", SavedFields(const_cast<CXMLBase&>(object)));
    } else if (object.GetAttList().GetSize()) {
        line("atts:", Atts(object));
    }
    for (const CXMLBase* child : Children(object))
        DescribeTree(*child, out, depth + 1, withSave);
}

inline void Describe(CXMLBase& object, std::string& out) { DescribeTree(object, out, 0, true); }

// Every getter, child list and lookup of a tree and its attributes as read,
// through const functions only: what any number of threads may run at once.
inline std::string DescribeReads(const CXMLBase& object)
{
    std::string out;
    DescribeTree(object, out, 0, false);
    return out;
}

// Compares Describe of a tree with tests/data/<name>.txt (UTF-8).
inline void ExpectDescription(CXMLBase& root, const std::string& name)
{
    const std::string path = std::string(KV_TEST_DATA) + "/" + name + ".txt";
    std::string described;
    Describe(root, described);
    if (std::getenv("KV_UPDATE_EXPECTED")) // after a deliberate change: review the files' diff
        WriteFile(path, Iconv(described, "GBK", "UTF-8"));
    EXPECT_EQ(described, Gbk(ReadFile(path)));
}

// Loads tests/data/<name>.xml, which must load without warnings and save and
// load back unchanged, and compares Describe of its tree with tests/data/<name>.txt.
inline void ExpectDescribed(const std::string& name)
{
    const std::string path = std::string(KV_TEST_DATA) + "/" + name + ".xml";
    CXMLDocument doc, again;
    ASSERT_TRUE(doc.LoadFile(path.c_str())) << doc.GetErrorText();
    EXPECT_TRUE(doc.GetWarnings().empty());
    ExpectDescription(*doc.GetRoot(), name);

    ASSERT_TRUE(doc.LoadFile(path.c_str()));
    const std::string saved = Save(doc);
    ASSERT_TRUE(LoadText(again, saved)) << again.GetErrorText();
    EXPECT_EQ(Save(again), saved);
}

} // namespace kvtest
