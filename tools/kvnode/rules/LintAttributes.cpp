// Every attribute of a known class against what the class reads it as:
// bad-number, value-out-of-table, misspelt-attribute, unknown-attribute.
#include "model/Catalogue.h"
#include "model/Spelling.h"
#include "rules/Families.h"

#include <cctype>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>

namespace kvnode {

namespace {

constexpr RuleId kBadNumber = "bad-number";
constexpr RuleId kValueOutOfTable = "value-out-of-table";
constexpr RuleId kMisspeltAttribute = "misspelt-attribute";
constexpr RuleId kUnknownAttribute = "unknown-attribute";
constexpr RuleId kMisreadValue = "misread-value";
constexpr RuleId kUnusedAttribute = "unused-attribute";

struct Problem {
    Problem() = default;
    Problem(RuleId rule_, std::string message_, std::string subject_ = std::string())
        : rule(rule_), message(std::move(message_)), subject(std::move(subject_))
    {
    }
    RuleId rule;
    std::string message; // empty: none
    std::string subject; // GBK: the part of the value at fault, or empty for all of it
};

bool IsBlank(char ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

std::string Trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && IsBlank(s[a]))
        ++a;
    while (b > a && IsBlank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

// What is wrong with an integer's text by the atoi rule, or empty when it
// reads as it says. Blanks around the number are harmless.
std::string IntegerProblem(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const size_t digits = i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 2);
    if (i == digits)
        return text.empty() ? "is empty" : "has no digits";
    const size_t end = i;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i < text.size())
        return text[end] == '.' || text[end] == ',' ? "has a decimal point" : "has other characters after the digits";
    const bool negative = text.find('-') < digits;
    if (value > static_cast<long long>(INT_MAX) + (negative ? 1 : 0))
        return "is outside the 32-bit range";
    return std::string();
}

// ... of a real by the atof rule, with '.' as the decimal point
std::string RealProblem(const std::string& text)
{
    if (Trimmed(text).empty())
        return text.empty() ? "is empty" : "has no digits";
    const char* start = text.c_str();
    char* end = nullptr;
#ifdef _WIN32
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    _strtod_l(start, &end, cLocale);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    strtod_l(start, &end, cLocale);
#endif
    if (end == start)
        return "has no digits";
    for (const char* p = end; *p; ++p)
        if (!IsBlank(*p))
            return "has other characters after the number";
    return std::string();
}

// Lowercase ASCII, no blanks, and no trailing "级" (GBK "\xBC\xB6"): "8.8"
// matches the grade "8.8级", "q345" the material "Q345".
std::string NearForm(std::string s)
{
    std::string out;
    for (const char ch : s)
        if (!IsBlank(ch))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\xBC\xB6") == 0)
        out.resize(out.size() - 2);
    return out;
}

std::string Real(const std::string& text)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", TextToReal(text.c_str()));
    return buf;
}

std::string ValueText(int value, const SteelSystem::EnumTable* table)
{
    std::string text = std::to_string(value);
    if (const char* name = table ? table->TextOf(value) : nullptr)
        text += " (" + Utf8(name, std::strlen(name)) + ")";
    else if (table)
        text += " (a value its table does not list)";
    return text;
}

std::string TableText(const SteelSystem::EnumTable& table)
{
    std::string text;
    for (int i = 0; i < table.count; ++i)
        text += (i ? ", " : "") + ValueText(table.rows[i].value, &table);
    return text;
}

class AttributeCheck {
public:
    AttributeCheck(LintContext& c, const CXMLBase& o, const ClassInfo& info) : m_c(c), m_o(o), m_info(info) {}

    void Run()
    {
        CString type;
        if (m_info.IsConstruction() && !m_o.GetAttText("type", type)) {
            m_c.unclearType.insert(&m_o);
            const std::string zero = m_info.constructionTypes->rows[0].text;
            m_c.Add(kBadNumber, m_o, "type",
                    Label(m_o) + ": \"type\" is missing: the host reads 0 (" + zero +
                        "); what this type needs is not checked");
        }
        const CStringArray& list = m_o.GetAttList();
        for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2) {
            const std::string name(list[i].GetString());
            const std::string value(list[i + 1].GetString(), static_cast<size_t>(list[i + 1].GetLength()));
            if (IsLibraryAttribute(name))
                continue;
            if (const AttributeInfo* a = FindAttribute(m_info, name))
                Value(*a, value);
            else
                Unknown(name);
        }
        if (m_info.IsConstruction() && !m_c.unclearType.count(&m_o))
            OtherTypes(list);
    }

private:
    // 'plate "P": "material" is "Q345"', a long value cut short
    std::string Head(const std::string& name, const std::string& value) const
    {
        return Label(m_o) + ": \"" + name + "\" is \"" + Shown(value) + "\"";
    }

    static std::string Shown(const std::string& gbk)
    {
        constexpr size_t kShown = 60;
        if (gbk.size() <= kShown)
            return Utf8(gbk.data(), gbk.size());
        size_t cut = 0;
        while (cut < kShown)
            cut += static_cast<unsigned char>(gbk[cut]) >= 0x81 ? 2 : 1;
        return Utf8(gbk.data(), std::min(cut, gbk.size())) + "...";
    }

    void Value(const AttributeInfo& a, const std::string& value)
    {
        Problem p;
        switch (a.reading.type) {
        case AttType::Text:
            return;
        case AttType::Character:
            p = CharacterProblem(a, value);
            break;
        case AttType::Keyword:
            p = KeywordProblem(a, value);
            break;
        case AttType::Integer:
        case AttType::Enumeration:
            p = NumberProblem(a, value);
            break;
        case AttType::IntegerList:
            // texts compared whole come first ("linkplanes" of "0")
            p = a.reading.table ? WholeTextProblem(a, value) : Problem();
            if (p.message.empty() && !IsRowText(a, value))
                p = ListProblem(a, value);
            break;
        case AttType::NumberList:
            p = ListProblem(a, value);
            break;
        }
        if (p.message.empty())
            return;
        if (a.name == "type" && m_info.IsConstruction()) {
            m_c.unclearType.insert(&m_o);
            p.message += "; what this type needs is not checked";
        }
        m_c.Add(p.rule, m_o, a.name, p.message, Utf8(p.subject.data(), p.subject.size()));
    }

    Problem NumberProblem(const AttributeInfo& a, const std::string& value) const
    {
        if (value.empty() && a.reading.ifEmpty)
            return Problem(); // an empty text is what the attribute's absence is
        const std::string problem = IntegerProblem(value);
        const int read = TextToInt(value.c_str());
        if (!problem.empty()) {
            std::string message =
                Head(a.name, value) + ", which " + problem + ": the host reads " + ValueText(read, a.reading.table);
            if (a.reading.table)
                message += Matching(value, *a.reading.table);
            return Problem{kBadNumber, message + FullWidth(value)};
        }
        if (a.reading.table && !a.reading.table->TextOf(read))
            return Problem{kValueOutOfTable, Label(m_o) + ": \"" + a.name + "\" is " + std::to_string(read) +
                                                 ", which is none of " + TableText(*a.reading.table)};
        return Problem();
    }

    // One character is kept: a longer text loses the rest. (A Chinese first
    // character keeps half of itself, which unwritable-text reports.)
    Problem CharacterProblem(const AttributeInfo& a, const std::string& value) const
    {
        if (value.size() <= 1 || static_cast<unsigned char>(value[0]) >= 0x80)
            return Problem();
        return Problem{kMisreadValue, Head(a.name, value) + ": the host keeps only its first character, \"" +
                                          value.substr(0, 1) + "\"",
                       value.substr(1)};
    }

    static bool IsRowText(const AttributeInfo& a, const std::string& value)
    {
        for (int i = 0; a.reading.table && i < a.reading.table->count; ++i)
            if (value == a.reading.table->rows[i].text)
                return true;
        return false;
    }

    static std::string Quoted(const char* gbk) { return "\"" + Utf8(gbk, std::strlen(gbk)) + "\""; }

    // One of the table's texts, compared whole; any other text reads as the last.
    Problem KeywordProblem(const AttributeInfo& a, const std::string& value) const
    {
        const SteelSystem::EnumTable& table = *a.reading.table;
        if (IsRowText(a, value))
            return Problem();
        const char* read = table.rows[table.count - 1].text;
        for (int i = 0; i + 1 < table.count; ++i)
            if (NearForm(value) == NearForm(table.rows[i].text))
                return Problem{kMisreadValue, Head(a.name, value) + ": the host compares the whole text, so it reads " +
                                                  Quoted(read) + ", not " + Quoted(table.rows[i].text)};
        if (NearForm(value) == NearForm(read))
            return Problem(); // read as it says
        std::string rows;
        for (int i = 0; i < table.count; ++i)
            rows += (i ? ", " : "") + Quoted(table.rows[i].text);
        return Problem{kValueOutOfTable, Head(a.name, value) + ", which is none of " + rows + ": the host reads " +
                                             Quoted(read)};
    }

    // A list that reads as one of the texts compared whole, but is not that
    // text: " 0" is the list of side 0, not the end connection "0".
    Problem WholeTextProblem(const AttributeInfo& a, const std::string& value) const
    {
        if (IsRowText(a, value))
            return Problem();
        const auto items = [](const std::string& text) {
            AcArray<int> list;
            CNodeGlobal::SplitStringToIntArray(CString(text.data(), static_cast<int>(text.size())), list);
            std::vector<int> out;
            for (int k = 0; k < list.length(); ++k)
                out.push_back(list[k]);
            return out;
        };
        const std::vector<int> read = items(value);
        for (int i = 0; i < a.reading.table->count; ++i) {
            const char* row = a.reading.table->rows[i].text;
            if (read == items(row))
                return Problem{kMisreadValue, Head(a.name, value) + ": the host compares the whole text with " +
                                                  Quoted(row) + ", so it reads this as a list, not as " + Quoted(row)};
        }
        return Problem();
    }

    // "; the value of 8.8级 is 5" for a text that is a value's, or near it; or empty
    static std::string Matching(const std::string& value, const SteelSystem::EnumTable& table)
    {
        const std::string wanted = NearForm(value);
        for (int i = 0; i < table.count; ++i)
            if (NearForm(table.rows[i].text) == wanted)
                return "; the value of " + Utf8(table.rows[i].text, std::strlen(table.rows[i].text)) + " is " +
                       std::to_string(table.rows[i].value);
        return std::string();
    }

    // "; these are full-width digits: write 4", or empty
    static std::string FullWidth(const std::string& value)
    {
        std::string digits;
        for (size_t i = 0; i + 1 < value.size(); i += 2) {
            const auto lead = static_cast<unsigned char>(value[i]);
            const auto trail = static_cast<unsigned char>(value[i + 1]);
            if (lead != 0xA3 || trail < 0xB0 || trail > 0xB9)
                return std::string();
            digits += static_cast<char>('0' + trail - 0xB0);
        }
        return digits.empty() || value.size() % 2 ? std::string() : "; these are full-width digits: write " + digits;
    }

    // the items as CNodeGlobal splits them: every comma ends one, but a final comma adds none
    Problem ListProblem(const AttributeInfo& a, const std::string& value) const
    {
        size_t start = 0;
        for (int item = 1; start < value.size(); ++item) {
            size_t end = value.find(',', start);
            if (end == std::string::npos)
                end = value.size();
            const std::string text = value.substr(start, end - start);
            const std::string problem =
                a.reading.type == AttType::IntegerList ? IntegerProblem(text) : RealProblem(text);
            if (!problem.empty())
                return Problem{kBadNumber,
                               Head(a.name, value) + ": item " + std::to_string(item) +
                                   (text.empty() ? "" : " \"" + Shown(text) + "\"") + " " + problem +
                                   ", and the host reads it as " +
                                   (a.reading.type == AttType::IntegerList ? std::to_string(TextToInt(text.c_str()))
                                                                           : Real(text)),
                               text};
            start = end + 1;
        }
        return Problem();
    }

    // A construction's attributes that its type does not use: the host reads
    // them into fields that nothing of this type looks at. (An empty one says
    // nothing, and a type writes an empty optional name not at all.)
    void OtherTypes(const CStringArray& list)
    {
        const std::vector<Field>& used = m_c.FieldsOf(m_o);
        std::string type;
        for (const Field& f : used)
            if (f.attribute == "type")
                type = Bytes(f.value);
        const char* typeName = m_info.constructionTypes->TextOf(TextToInt(type.c_str()));
        for (INT_PTR i = 0; i + 1 < list.GetSize(); i += 2) {
            const std::string name(list[i].GetString());
            if (!FindAttribute(m_info, name) || list[i + 1].IsEmpty() ||
                std::any_of(used.begin(), used.end(), [&](const Field& f) { return f.attribute == name; }))
                continue;
            m_c.Add(kUnusedAttribute, m_o, name,
                    Label(m_o) + ": type " + type + (typeName ? " (" + std::string(typeName) + ")" : "") +
                        " does not use \"" + name + "\": the host ignores it");
        }
    }

    // the class's attribute names, indexed once
    const Speller& Known() const
    {
        static std::map<const ClassInfo*, Speller> spellers;
        auto it = spellers.find(&m_info);
        if (it == spellers.end()) {
            std::vector<std::string> known;
            for (const AttributeInfo& a : m_info.attributes)
                known.push_back(a.name);
            it = spellers.emplace(&m_info, Speller(std::move(known))).first;
        }
        return it->second;
    }

    void Unknown(const std::string& name)
    {
        const Suggestion s = Known().Closest(name);
        CString present;
        const bool missing = !s.word.empty() && !m_o.GetAttText(s.word.c_str(), present);
        const std::string reader = m_info.IsRoot() ? m_info.element : m_info.noun;
        const std::string head = Label(m_o) + ": no " + reader + " reads \"" + name + "\"" + DidYouMean(s);
        if (missing)
            m_c.Add(kMisspeltAttribute, m_o, name, head + ", so \"" + s.word + "\" stays empty");
        else
            m_c.Add(kUnknownAttribute, m_o, name, head + "; it is kept as it is");
    }

    LintContext& m_c;
    const CXMLBase& m_o;
    const ClassInfo& m_info;
};

} // namespace

void RegisterAttributeRules(RuleRegistry& r)
{
    r.Add({kBadNumber, Severity::Error, "a number that the host reads as something other than what it says",
           "Integers, enumerations and lists are read by the C rules: leading blanks are skipped, then digits are "
           "read up to the first other character, and a text without digits reads as 0. So \"8.8\" reads as 8, "
           "\"Q345\" as 0 and \"1O201\" as 1. The message says what the host reads, and for an enumeration "
           "written as its text, which value has that text.",
           "<CBoltGroupDesc classtype=\"8_5\" name=\"G\" boltgrade=\"8.8\" .../>",
           "<CBoltGroupDesc classtype=\"8_5\" name=\"G\" boltgrade=\"5\" .../>"});
    r.Add({kValueOutOfTable, Severity::Error,
           "a value its table does not list: a material, bolt grade, bolt type, construction type, or a defineby "
           "or directused text",
           "These fields take one of the values their table lists (see docs/format.md); the host has nothing to "
           "build from another number, and reads any other text as the table's last one (defineby as sys, "
           "directused as 1). The host's own codes (node type, member kind, section type) are not checked.",
           "<CPlaneDesc classtype=\"8_1\" name=\"P\" type=\"9\"/>",
           "<CPlaneDesc classtype=\"8_1\" name=\"P\" type=\"5\" relplane=\"Q\"/>"});
    r.Add({kMisreadValue, Severity::Error, "a text the host reads otherwise than it is written",
           "Some texts are compared whole or cut short: \"defineby\" is user-defined only when it is exactly "
           "\"user\" (\"User\" reads as sys), a member's \"linkplanes\" is the end connection only when it "
           "is exactly \"0\" (\" 0\" is the list of side 0), and a variable keeps only the first character of its "
           "\"formattype\" (\"%.1f\" reads as \"%\"). The message says what the host reads.",
           "<CNodeMemberDesc classtype=\"8_4\" name=\"Beam\" linkplanes=\" 0\" rotangles=\"0,180\" .../>",
           "<CNodeMemberDesc classtype=\"8_4\" name=\"Beam\" linkplanes=\"0\" rotangles=\"0,180\" .../>"});
    r.Add({kUnusedAttribute, Severity::Warning, "an attribute of a construction that its type does not use",
           "A point, line, plane, vector or distance is built by its type, which uses some of its attributes "
           "(docs/format.md). The others are read and kept, but nothing builds from them: the type or the "
           "attribute is likely not what the author meant.",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"L\" plane=\"A\" memname=\"Beam\"/>",
           "<CPointDesc classtype=\"8_12\" name=\"P\" type=\"1\" line=\"L\" plane=\"A\"/>"});
    r.Add({kMisspeltAttribute, Severity::Error,
           "an attribute the class does not know, close to one of its own that the element lacks",
           "Most likely a typo: the field the author meant stays empty.",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexpr=\"@P_Len\" .../>   (lenexp is missing)",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"@P_Len\" .../>"});
    r.Add({kUnknownAttribute, Severity::Warning, "an attribute the element's class neither writes nor reads",
           "Kept and written back, but no descriptor reads it. A host may keep attributes of its own; otherwise "
           "it is a typo.",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" colour=\"red\" .../>",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" .../>"});
}

void CheckAttributes(LintContext& c)
{
    const CXMLBase* root = c.Doc().GetRoot();
    if (!root)
        return;
    ForEachObject(*root, [&](const CXMLBase& o) {
        const ClassInfo* info = ClassOf(o);
        if (info && !HasFreeAttributes(*info))
            AttributeCheck(c, o, *info).Run();
    });
}

} // namespace kvnode
