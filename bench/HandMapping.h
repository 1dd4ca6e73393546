#pragma once
// The yardstick for the library's load and save: what a competent host
// developer writes without this library for the documents that
// NodeLibraryGenerator.h makes. pugixml's load_buffer, then one walk of its
// DOM that reads every attribute of every element by name into a std::string
// field of a plain struct per class, children in a std::vector per class,
// texts kept as UTF-8; the save builds a pugixml DOM from the structs and
// saves it, indented. It does less than the library (no GBK, no unknown
// elements kept, no order across classes, no numbers converted), so beating
// it is a fair claim.
#include <pugixml.hpp>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace handmap {

// Each struct lists its fields (attribute name, field) and its children
// (element name, vector) once, for the load and the save alike.
struct Cut {
    std::string classtype, name, showname, planes;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("planes", s.planes);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct Member {
    std::string classtype, name, showname, kind, sectype, linkplanes, rotangles, linkto, directused, sectdesc;
    std::vector<Cut> cuts;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("kind", s.kind);
        v("sectype", s.sectype), v("linkplanes", s.linkplanes), v("rotangles", s.rotangles), v("linkto", s.linkto);
        v("directused", s.directused), v("sectdesc", s.sectdesc);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CCutDesc", s.cuts);
    }
};

// value lists carry v1, v2, ... as many as they have: read by name until one is missing
struct ValueList {
    std::string classtype;
    std::vector<std::string> values;
};

struct Var {
    std::string classtype, name, showname, showvalue, value, type, formattype;
    std::vector<ValueList> valueLists;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("showvalue", s.showvalue);
        v("value", s.value), v("type", s.type), v("formattype", s.formattype);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CValueListDesc", s.valueLists);
    }
};

struct VarItem {
    std::string classtype, name, showname, type, defineby;
    std::vector<Var> vars;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("defineby", s.defineby);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CVarDesc", s.vars);
    }
};

struct Plate {
    std::string classtype, name, showname, material, lenexp, widthexp, thickexp, planes, varitem;
    std::vector<Cut> cuts;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("material", s.material);
        v("lenexp", s.lenexp), v("widthexp", s.widthexp), v("thickexp", s.thickexp), v("planes", s.planes);
        v("varitem", s.varitem);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CCutDesc", s.cuts);
    }
};

struct BoltPlane {
    std::string classtype, name, showname, plane, father;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("plane", s.plane);
        v("father", s.father);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct BoltGroup {
    std::string classtype, name, showname, material, boltgrade, bolttype, diam, len, num, fathername, fatherindex,
        priorflag;
    std::vector<BoltPlane> boltPlanes;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("material", s.material);
        v("boltgrade", s.boltgrade), v("bolttype", s.bolttype), v("diam", s.diam), v("len", s.len);
        v("num", s.num), v("fathername", s.fathername), v("fatherindex", s.fatherindex);
        v("priorflag", s.priorflag);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CBoltPlaneDesc", s.boltPlanes);
    }
};

struct Bolt {
    std::string classtype, name, showname, material, boltgrade, diam, len, dlen, dwidth, dthick, fathername, point,
        plane, num;
    std::vector<BoltPlane> boltPlanes;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("material", s.material);
        v("boltgrade", s.boltgrade), v("diam", s.diam), v("len", s.len), v("dlen", s.dlen);
        v("dwidth", s.dwidth), v("dthick", s.dthick), v("fathername", s.fathername), v("point", s.point);
        v("plane", s.plane), v("num", s.num);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CBoltPlaneDesc", s.boltPlanes);
    }
};

struct Point {
    std::string classtype, name, showname, type, memname, line, plane, line1, line2, pointdesc, oldpoint, vec, rellen;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("memname", s.memname), v("line", s.line), v("plane", s.plane), v("line1", s.line1);
        v("line2", s.line2), v("pointdesc", s.pointdesc), v("oldpoint", s.oldpoint), v("vec", s.vec);
        v("rellen", s.rellen);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct Line {
    std::string classtype, name, showname, type, memname, plane1, plane2, point, vec, point1, point2;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("memname", s.memname), v("plane1", s.plane1), v("plane2", s.plane2), v("point", s.point);
        v("vec", s.vec), v("point1", s.point1), v("point2", s.point2);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct Plane {
    std::string classtype, name, showname, type, memname, strdesc, refmem, point, norm, rellen, relplane;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("memname", s.memname), v("strdesc", s.strdesc), v("refmem", s.refmem), v("point", s.point);
        v("norm", s.norm), v("rellen", s.rellen), v("relplane", s.relplane);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct Vec {
    std::string classtype, name, showname, type, line, vecdesc, vec1, vec2, oldvec, norm, rotangle, parellelplane,
        memname, perpplane, dotproductvec;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("line", s.line), v("vecdesc", s.vecdesc), v("vec1", s.vec1), v("vec2", s.vec2);
        v("oldvec", s.oldvec), v("norm", s.norm), v("rotangle", s.rotangle);
        v("parellelplane", s.parellelplane), v("memname", s.memname), v("perpplane", s.perpplane);
        v("dotproductvec", s.dotproductvec);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct Dist {
    std::string classtype, name, showname, type, point1, point2, plane1, plane2;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("type", s.type);
        v("point1", s.point1), v("point2", s.point2), v("plane1", s.plane1), v("plane2", s.plane2);
    }
    template <class S, class V>
    static void Children(S&, V&&)
    {
    }
};

struct LinkBar {
    std::string classtype, name, showname, sectype, sect, len, attach1, attach2, attach3, firstindex, secondindex;
    std::vector<Plane> planes;
    std::vector<Cut> cuts;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("sectype", s.sectype);
        v("sect", s.sect), v("len", s.len), v("attach1", s.attach1), v("attach2", s.attach2);
        v("attach3", s.attach3), v("firstindex", s.firstindex), v("secondindex", s.secondindex);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CPlaneDesc", s.planes), v("CCutDesc", s.cuts);
    }
};

struct NodeType {
    std::string classtype, name, showname, nodetype;
    std::vector<Member> members;
    std::vector<VarItem> varItems;
    std::vector<Plate> plates;
    std::vector<BoltGroup> boltGroups;
    std::vector<Bolt> bolts;
    std::vector<LinkBar> linkBars;
    std::vector<Point> points;
    std::vector<Line> lines;
    std::vector<Plane> planes;
    std::vector<Vec> vecs;
    std::vector<Dist> dists;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("name", s.name), v("showname", s.showname), v("nodetype", s.nodetype);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CNodeMemberDesc", s.members), v("CVarItemDesc", s.varItems), v("CPlateDesc", s.plates);
        v("CBoltGroupDesc", s.boltGroups), v("CBoltDesc", s.bolts), v("CLinkBarDesc", s.linkBars);
        v("CPointDesc", s.points), v("CLineDesc", s.lines), v("CPlaneDesc", s.planes), v("CVecDesc", s.vecs);
        v("CDistDesc", s.dists);
    }
};

struct Library {
    std::string classtype, version;
    std::vector<NodeType> nodeTypes;
    template <class S, class V>
    static void Fields(S& s, V&& v)
    {
        v("classtype", s.classtype), v("Version", s.version);
    }
    template <class S, class V>
    static void Children(S& s, V&& v)
    {
        v("CNodeTypeDesc", s.nodeTypes);
    }
};

// ---- load ----

inline void Read(pugi::xml_node e, ValueList& list)
{
    list.classtype = e.attribute("classtype").value();
    char name[24];
    for (int i = 1;; ++i) {
        std::snprintf(name, sizeof name, "v%d", i);
        const pugi::xml_attribute a = e.attribute(name);
        if (!a)
            break;
        list.values.emplace_back(a.value());
    }
}

template <class T>
void Read(pugi::xml_node e, T& object)
{
    T::Fields(object, [e](const char* name, std::string& field) { field = e.attribute(name).value(); });
    for (pugi::xml_node child = e.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        bool found = false;
        T::Children(object, [&](const char* name, auto& list) {
            if (!found && std::strcmp(child.name(), name) == 0) {
                found = true;
                Read(child, list.emplace_back());
            }
        });
    }
}

// false when pugixml rejects the text or the root is not a library
inline bool Load(const std::string& xml, Library& library)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size()))
        return false;
    const pugi::xml_node root = doc.child("CNodeAttDef");
    if (!root)
        return false;
    Read(root, library);
    return true;
}

// ---- save ----

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, std::size_t size) override { out.append(static_cast<const char*>(data), size); }
};

inline void Write(pugi::xml_node parent, const char* element, const ValueList& list)
{
    pugi::xml_node e = parent.append_child(element);
    e.append_attribute("classtype").set_value(list.classtype.c_str());
    char name[24];
    for (std::size_t i = 0; i < list.values.size(); ++i) {
        std::snprintf(name, sizeof name, "v%zu", i + 1);
        e.append_attribute(name).set_value(list.values[i].c_str());
    }
}

template <class T>
void Write(pugi::xml_node parent, const char* element, const T& object)
{
    pugi::xml_node e = parent.append_child(element);
    T::Fields(object, [&e](const char* name, const std::string& field) {
        if (!field.empty() || std::strcmp(name, "classtype") == 0)
            e.append_attribute(name).set_value(field.c_str());
    });
    T::Children(object, [&e](const char* name, const auto& list) {
        for (const auto& child : list)
            Write(e, name, child);
    });
}

inline std::string Save(const Library& library)
{
    pugi::xml_document doc;
    Write(doc, "CNodeAttDef", library);
    StringWriter writer;
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return std::move(writer.out);
}

} // namespace handmap
