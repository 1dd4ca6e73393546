#pragma once
// Node definition libraries of a given size, made by code for the benchmarks
// and the round-trip tests: node types with members, plates with cuts, bolt
// groups and bolts with bolt planes, variable items with value lists, link
// bars, and constructions of every type, with Chinese show names. The same
// shape and seed give the same bytes on every machine.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace kvgen {

// splitmix64: small, fast and the same everywhere (unlike std's distributions)
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1)); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <class T, std::size_t N>
    const T& Pick(const T (&items)[N])
    {
        return items[Next() % N];
    }

private:
    std::uint64_t m_state;
};

struct LibraryShape {
    std::size_t elements = 1000; // about this many: node types are added until there are
    std::uint64_t seed = 1;
    // at least this many direct children in every node type (its parts repeat
    // until there are); 0 gives the usual mix of a few dozen
    std::size_t nodeTypeChildren = 0;
};

struct Library {
    std::string xml; // UTF-8, indented by two spaces
    std::size_t elements = 0; // the root included
    std::size_t nodeTypes = 0;
};

namespace detail {

// A streaming writer: a start tag stays open for attributes until a child or
// the end of the element closes it.
class Writer {
public:
    explicit Writer(std::string& out) : m_out(out) {}

    void Open(const char* element, const char* classType)
    {
        CloseHead();
        m_out.append(2 * m_stack.size(), ' ');
        m_out += '<';
        m_out += element;
        m_stack.push_back(element);
        m_headOpen = true;
        ++m_elements;
        if (m_stack.size() > 1)
            ++m_children.back();
        m_children.push_back(0);
        Att("classtype", classType);
    }
    void Att(const char* name, const std::string& value)
    {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
        for (char c : value) {
            switch (c) {
            case '&': m_out += "&amp;"; break;
            case '<': m_out += "&lt;"; break;
            case '>': m_out += "&gt;"; break;
            case '"': m_out += "&quot;"; break;
            default: m_out += c;
            }
        }
        m_out += '"';
    }
    void Att(const char* name, int value) { Att(name, std::to_string(value)); }
    void Close()
    {
        if (m_headOpen) {
            m_out += " />\n";
            m_headOpen = false;
        } else {
            m_out.append(2 * (m_stack.size() - 1), ' ');
            m_out += "</";
            m_out += m_stack.back();
            m_out += ">\n";
        }
        m_stack.pop_back();
        m_children.pop_back();
    }
    std::size_t Elements() const { return m_elements; }
    std::size_t Children() const { return m_children.back(); } // of the open element

private:
    void CloseHead()
    {
        if (m_headOpen)
            m_out += ">\n";
        m_headOpen = false;
    }

    std::string& m_out;
    std::vector<const char*> m_stack;
    std::vector<std::size_t> m_children;
    bool m_headOpen = false;
    std::size_t m_elements = 0;
};

inline std::string Num(const char* prefix, int n) { return prefix + std::to_string(n); }

// numbers joined by commas, as the list attributes hold them
inline std::string IntList(Random& r, int count, int lo, int hi)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s += (i ? "," : "") + std::to_string(r.Between(lo, hi));
    return s;
}

class NodeTypeWriter {
public:
    NodeTypeWriter(Writer& w, Random& r) : w(w), r(r) {}

    void Write(int index, std::size_t minChildren)
    {
        static const char* const kinds[] = {"梁柱刚接节点", "主次梁铰接节点", "柱脚节点", "支撑连接节点", "桁架节点",
                                            "拼接节点", "柱腳節點"};
        w.Open("CNodeTypeDesc", "8_6");
        w.Att("name", Num("NT", index));
        w.Att("showname", std::string(r.Pick(kinds)) + std::to_string(index));
        w.Att("nodetype", 10000 * r.Between(1, 4) + r.Between(0, 9999));
        do
            Round();
        while (w.Children() < minChildren);
        w.Close();
    }

private:
    std::string Show(const char* base, int n) { return base + std::to_string(n); }
    std::string Plane() { return Num("PN", r.Between(1, 9)); }
    std::string Expression(const char* var, const char* suffix)
    {
        static const char* const forms[] = {"%s%s", "%s%s*2", "%s%s+10", "(%s%s-5)/2", "max(%s%s,8)"};
        char buf[96];
        std::snprintf(buf, sizeof buf, r.Pick(forms), var, suffix);
        return buf;
    }

    void Cuts(int count)
    {
        for (int i = 0; i < count; ++i) {
            w.Open("CCutDesc", "8_2");
            w.Att("name", Num("CUT", ++cut));
            w.Att("showname", Show(r.Chance(50) ? "切角" : "切肢", cut));
            w.Att("planes", r.Chance(70) ? Plane() : Plane() + "," + Plane());
            w.Close();
        }
    }

    void BoltPlanes(int count, const std::string& father)
    {
        for (int i = 0; i < count; ++i) {
            w.Open("CBoltPlaneDesc", "8_16");
            w.Att("name", Num("BP", ++boltPlane));
            w.Att("showname", Show("螺栓面", boltPlane));
            w.Att("plane", Plane());
            w.Att("father", father);
            w.Close();
        }
    }

    void Members()
    {
        static const char* const names[] = {"主梁", "次梁", "柱", "斜撑", "檩条", "托梁"};
        static const char* const sections[] = {"焊接H型钢", "热轧H型钢 H400x200", "箱形截面 <400x400>", "圆管 & 方管",
                                               ""};
        for (int n = r.Between(2, 4); n > 0; --n) {
            w.Open("CNodeMemberDesc", "8_4");
            w.Att("name", Num("M", ++member));
            w.Att("showname", Show(r.Pick(names), member));
            w.Att("kind", IntList(r, r.Between(1, 3), 0, 12));
            w.Att("sectype", IntList(r, r.Between(1, 3), 0, 20));
            const bool end = r.Chance(50);
            w.Att("linkplanes", end ? std::string("0") : IntList(r, r.Between(1, 4), 1, 6));
            w.Att("rotangles", r.Chance(50) ? "0,90,180,270" : "0,180");
            w.Att("linkto", member > 1 ? Num("M", r.Between(1, member - 1)) : std::string());
            if (r.Chance(20))
                w.Att("directused", "0");
            if (r.Chance(40))
                w.Att("sectdesc", r.Pick(sections));
            Cuts(r.Between(0, 2));
            w.Close();
        }
    }

    void VarItems()
    {
        static const char* const names[] = {"板件参数", "螺栓参数", "焊缝参数", "加劲肋参数"};
        static const char* const varNames[] = {"厚度", "宽度", "长度", "间距", "边距", "直径"};
        static const char* const formats[] = {"g", "f", "d"};
        for (int n = r.Between(1, 3); n > 0; --n) {
            w.Open("CVarItemDesc", "8_9");
            w.Att("name", Num("VI", ++varItem));
            w.Att("showname", Show(r.Pick(names), varItem));
            w.Att("type", r.Chance(50) ? "plate" : "bolt");
            w.Att("defineby", r.Chance(80) ? "sys" : "user");
            for (int v = r.Between(2, 5); v > 0; --v) {
                const std::string value = std::to_string(r.Between(4, 400));
                w.Open("CVarDesc", "8_10");
                w.Att("name", Num("VI", varItem) + Num("_V", ++var));
                w.Att("showname", r.Pick(varNames));
                w.Att("showvalue", value);
                if (r.Chance(80))
                    w.Att("value", value);
                if (r.Chance(30))
                    w.Att("type", r.Between(0, 5));
                w.Att("formattype", r.Pick(formats));
                if (r.Chance(40)) {
                    w.Open("CValueListDesc", "8_11");
                    for (int i = r.Between(2, 6); i > 0; --i)
                        w.Att(Num("v", i).c_str(), r.Chance(10) ? std::string("ValueString") : std::to_string(2 * i + 6));
                    w.Close();
                }
                w.Close();
            }
            w.Close();
        }
    }

    void Plates()
    {
        static const char* const names[] = {"连接板", "加劲肋", "端板", "节点板", "垫板", "盖板", "連接板"}; // traditional forms: GBK second bytes in the ASCII range;
        for (int n = r.Between(2, 6); n > 0; --n) {
            const std::string item = Num("VI", r.Between(1, varItem));
            w.Open("CPlateDesc", "8_3");
            w.Att("name", Num("PL", ++plate));
            w.Att("showname", Show(r.Pick(names), plate));
            w.Att("material", r.Between(0, 6));
            w.Att("lenexp", Expression(item.c_str(), "_Len"));
            w.Att("widthexp", Expression(item.c_str(), "_Width"));
            w.Att("thickexp", Expression(item.c_str(), "_Thick"));
            w.Att("planes", Plane() + "," + Plane() + "," + Plane());
            w.Att("varitem", item);
            Cuts(r.Between(0, 2));
            w.Close();
        }
    }

    void BoltGroups()
    {
        for (int n = r.Between(1, 2); n > 0; --n) {
            const std::string item = Num("VI", r.Between(1, varItem));
            const std::string name = Num("BG", ++boltGroup);
            w.Open("CBoltGroupDesc", "8_5");
            w.Att("name", name);
            w.Att("showname", Show("高强螺栓群", boltGroup));
            w.Att("material", r.Between(0, 6));
            w.Att("boltgrade", r.Between(0, 9));
            w.Att("bolttype", r.Between(0, 6));
            w.Att("diam", item + "_BoltDiam");
            w.Att("len", r.Chance(50) ? item + "_Len" : std::string("80"));
            w.Att("num", item + "_Num");
            w.Att("fathername", Num("PL", r.Between(1, plate)));
            w.Att("fatherindex", r.Between(0, 3));
            w.Att("priorflag", r.Chance(50) ? "1" : "");
            BoltPlanes(r.Between(2, 3), name);
            w.Close();
        }
    }

    void Bolts()
    {
        for (int n = r.Between(0, 2); n > 0; --n) {
            const std::string item = Num("VI", r.Between(1, varItem));
            const std::string name = Num("BT", ++bolt);
            w.Open("CBoltDesc", "8_17");
            w.Att("name", name);
            w.Att("showname", Show("锚栓", bolt));
            w.Att("material", r.Between(0, 6));
            w.Att("boltgrade", r.Between(0, 9));
            w.Att("diam", item + "_MaoDiam");
            w.Att("len", Expression(item.c_str(), "_Len"));
            w.Att("dlen", "100");
            w.Att("dwidth", "100");
            w.Att("dthick", Expression(item.c_str(), "_Thick"));
            w.Att("fathername", Num("PL", r.Between(1, plate)));
            w.Att("point", Num("PT", r.Between(1, 9)));
            w.Att("plane", Plane());
            w.Att("num", "4");
            BoltPlanes(2, name);
            w.Close();
        }
    }

    void LinkBars()
    {
        if (!r.Chance(50))
            return;
        w.Open("CLinkBarDesc", "8_7");
        w.Att("name", Num("LB", ++linkBar));
        w.Att("showname", Show("拉杆", linkBar));
        w.Att("sectype", IntList(r, r.Between(1, 2), 0, 20));
        w.Att("sect", r.Chance(50) ? "L63x5" : "2L75x6");
        w.Att("len", Expression(Num("VI", r.Between(1, varItem)).c_str(), "_Len"));
        w.Att("attach1", Plane());
        w.Att("attach2", Plane());
        w.Att("attach3", Plane());
        w.Att("firstindex", r.Between(0, 3));
        w.Att("secondindex", r.Between(0, 3));
        for (int type = 3; type <= 5; ++type)
            PlaneConstruction(type);
        Cuts(r.Between(0, 1));
        w.Close();
    }

    // one construction of a class and type with the attributes that type saves
    void Construction(const char* element, const char* classType, const char* prefix, int& counter,
                      const char* showName, int type, std::initializer_list<const char*> names)
    {
        w.Open(element, classType);
        w.Att("name", Num(prefix, ++counter));
        w.Att("showname", Show(showName, counter));
        w.Att("type", type);
        for (const char* name : names)
            w.Att(name, Reference(name));
        w.Close();
    }
    std::string Reference(const std::string& attribute)
    {
        static const struct {
            const char* attribute;
            const char* prefix;
        } kinds[] = {
            {"memname", "M"}, {"refmem", "M"}, {"line", "LN"}, {"line1", "LN"}, {"line2", "LN"}, {"plane", "PN"},
            {"plane1", "PN"}, {"plane2", "PN"}, {"relplane", "PN"}, {"perpplane", "PN"}, {"parellelplane", "PN"},
            {"point", "PT"}, {"point1", "PT"}, {"point2", "PT"}, {"oldpoint", "PT"}, {"vec", "VC"}, {"vec1", "VC"},
            {"vec2", "VC"}, {"oldvec", "VC"}, {"norm", "VC"}, {"dotproductvec", "VC"},
        };
        for (const auto& k : kinds)
            if (attribute == k.attribute)
                return Num(k.prefix, r.Between(1, 9));
        static const char* const texts[] = {"上翼缘外侧", "腹板中心", "0,0,1", "-1,0,0", "50", "L/2+20", "45"};
        return r.Pick(texts); // descriptions, lengths and angles
    }

    void PlaneConstruction(int type)
    {
        static const std::initializer_list<const char*> byType[] = {
            {"memname", "strdesc"}, {"memname", "strdesc", "refmem"}, {"memname", "strdesc"},
            {"point", "norm"},      {"rellen", "relplane"},           {"relplane"}};
        Construction("CPlaneDesc", "8_1", "PN", planeCount, "参考面", type, byType[type]);
    }

    void Constructions()
    {
        static const std::initializer_list<const char*> points[] = {
            {"memname"}, {"line", "plane"}, {"line1", "line2"}, {"pointdesc"}, {"oldpoint", "vec", "rellen"}};
        static const std::initializer_list<const char*> lines[] = {
            {"memname"}, {"plane1", "plane2"}, {"point", "vec"}, {"point1", "point2"}};
        static const std::initializer_list<const char*> vecs[] = {
            {"line"},           {"vecdesc"},      {"vec1", "vec2"},           {"oldvec", "norm", "rotangle"},
            {"parellelplane", "memname"}, {"perpplane"}, {"oldvec", "dotproductvec"}, {"memname"}};
        static const std::initializer_list<const char*> dists[] = {
            {"point1", "point2"}, {"point1", "point2"}, {"point1", "point2"}, {"plane1", "plane2"}};
        // every type once, then a few more of the common ones
        for (int t = 0; t < 5; ++t)
            Construction("CPointDesc", "8_12", "PT", pointCount, "定位点", t, points[t]);
        for (int t = 0; t < 4; ++t)
            Construction("CLineDesc", "8_13", "LN", lineCount, "轴线", t, lines[t]);
        for (int t = 0; t < 6; ++t)
            PlaneConstruction(t);
        for (int t = 0; t < 8; ++t)
            Construction("CVecDesc", "8_14", "VC", vecCount, "方向", t, vecs[t]);
        for (int t = 0; t < 4; ++t)
            Construction("CDistDesc", "8_15", "DS", distCount, "间距", t, dists[t]);
        for (int n = r.Between(0, 3); n > 0; --n) {
            const int t = r.Between(0, 2);
            Construction("CPointDesc", "8_12", "PT", pointCount, "定位点", t, points[t]);
        }
    }

    void Round()
    {
        Members();
        VarItems();
        Plates();
        BoltGroups();
        Bolts();
        LinkBars();
        Constructions();
    }

    Writer& w;
    Random& r;
    int member = 0, cut = 0, varItem = 0, var = 0, plate = 0, boltGroup = 0, bolt = 0, boltPlane = 0, linkBar = 0;
    int pointCount = 0, lineCount = 0, planeCount = 0, vecCount = 0, distCount = 0;
};

} // namespace detail

inline Library GenerateNodeLibrary(const LibraryShape& shape)
{
    Library lib;
    lib.xml.reserve(shape.elements * 190 + 256);
    lib.xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    detail::Writer w(lib.xml);
    Random r(shape.seed);
    w.Open("CNodeAttDef", "8_0");
    w.Att("Version", 1);
    do {
        detail::NodeTypeWriter(w, r).Write(static_cast<int>(++lib.nodeTypes), shape.nodeTypeChildren);
    } while (w.Elements() < shape.elements);
    w.Close();
    lib.elements = w.Elements();
    return lib;
}

} // namespace kvgen
