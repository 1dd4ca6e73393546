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

namespace kvnode {

namespace {

constexpr RuleId kBadNumber = "bad-number";
constexpr RuleId kValueOutOfTable = "value-out-of-table";
constexpr RuleId kMisspeltAttribute = "misspelt-attribute";
constexpr RuleId kUnknownAttribute = "unknown-attribute";

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
    }

private:
    std::string Head(const std::string& name, const std::string& value) const
    {
        return Label(m_o) + ": \"" + name + "\" is \"" + Utf8(value.data(), value.size()) + "\"";
    }

    void Value(const AttributeInfo& a, const std::string& value)
    {
        const bool isType = a.name == "type" && m_info.IsConstruction();
        std::string message;
        std::string meant; // the number the text stands for, where it stands for one
        RuleId rule = kBadNumber;
        switch (a.reading.type) {
        case AttType::Text:
        case AttType::Character:
        case AttType::Keyword:
            return;
        case AttType::Integer:
        case AttType::Enumeration: {
            const std::string problem = IntegerProblem(value);
            const int read = TextToInt(value.c_str());
            if (!problem.empty()) {
                message =
                    Head(a.name, value) + ", which " + problem + ": the host reads " + ValueText(read, a.reading.table);
                if (a.reading.table)
                    message += Matching(value, *a.reading.table, meant);
                message += FullWidth(value, meant);
            } else if (a.reading.table && !a.reading.table->TextOf(read)) {
                rule = kValueOutOfTable;
                message = Label(m_o) + ": \"" + a.name + "\" is " + std::to_string(read) +
                          ", which is none of " + TableText(*a.reading.table);
            }
            break;
        }
        case AttType::IntegerList:
        case AttType::NumberList:
            message = ListProblem(a, value);
            break;
        }
        if (message.empty())
            return;
        if (isType) {
            m_c.unclearType.insert(&m_o);
            message += "; what this type needs is not checked";
        }
        Finding& f = m_c.Add(rule, m_o, a.name, message);
        if (!meant.empty())
            f.fix = Fix::Safe(Fix::Part::Value, meant);
    }

    // "; the value of 8.8级 is 5" for a text that is a value's, or near it, with
    // the value in meant; or empty
    static std::string Matching(const std::string& value, const SteelSystem::EnumTable& table, std::string& meant)
    {
        const std::string wanted = NearForm(value);
        for (int i = 0; i < table.count; ++i)
            if (NearForm(table.rows[i].text) == wanted) {
                meant = std::to_string(table.rows[i].value);
                return "; the value of " + Utf8(table.rows[i].text, std::strlen(table.rows[i].text)) + " is " + meant;
            }
        return std::string();
    }

    // "; these are full-width digits: write 4" with the digits in meant, or empty
    static std::string FullWidth(const std::string& value, std::string& meant)
    {
        std::string digits;
        for (size_t i = 0; i + 1 < value.size(); i += 2) {
            const auto lead = static_cast<unsigned char>(value[i]);
            const auto trail = static_cast<unsigned char>(value[i + 1]);
            if (lead != 0xA3 || trail < 0xB0 || trail > 0xB9)
                return std::string();
            digits += static_cast<char>('0' + trail - 0xB0);
        }
        if (digits.empty() || value.size() % 2)
            return std::string();
        meant = digits;
        return "; these are full-width digits: write " + digits;
    }

    // the items as CNodeGlobal splits them: every comma ends one, but a final comma adds none
    std::string ListProblem(const AttributeInfo& a, const std::string& value) const
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
                return Head(a.name, value) + ": item " + std::to_string(item) +
                       (text.empty() ? "" : " \"" + Utf8(text.data(), text.size()) + "\"") + " " + problem +
                       ", and the host reads it as " +
                       (a.reading.type == AttType::IntegerList ? std::to_string(TextToInt(text.c_str())) : Real(text));
            start = end + 1;
        }
        return std::string();
    }

    void Unknown(const std::string& name)
    {
        std::vector<std::string> known;
        for (const AttributeInfo& a : m_info.attributes)
            known.push_back(a.name);
        const Suggestion s = Closest(name, known);
        CString present;
        const bool missing = !s.word.empty() && !m_o.GetAttText(s.word.c_str(), present);
        const std::string reader = m_info.IsRoot() ? m_info.element : m_info.noun;
        const std::string head = Label(m_o) + ": no " + reader + " reads \"" + name + "\"" + DidYouMean(s);
        if (missing) {
            Finding& f = m_c.Add(kMisspeltAttribute, m_o, name, head + ", so \"" + s.word + "\" stays empty");
            f.fix = s.only ? Fix::Safe(Fix::Part::Name, s.word) : Fix::Unsafe(Fix::Part::Name, s.word);
        } else
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
           "<CBoltGroupDesc classtype=\"8_5\" name=\"G\" boltgrade=\"5\" .../>", FixKind::Safe});
    r.Add({kValueOutOfTable, Severity::Error,
           "a material, bolt grade, bolt type or construction type that its table does not list",
           "These fields take one of the values their table lists (see docs/format.md); the host has nothing to "
           "build from another. The host's own codes (node type, member kind, section type) are not checked.",
           "<CPlaneDesc classtype=\"8_1\" name=\"P\" type=\"9\"/>",
           "<CPlaneDesc classtype=\"8_1\" name=\"P\" type=\"5\" relplane=\"Q\"/>"});
    r.Add({kMisspeltAttribute, Severity::Error,
           "an attribute the class does not know, close to one of its own that the element lacks",
           "Most likely a typo: the field the author meant stays empty.",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexpr=\"@P_Len\" .../>   (lenexp is missing)",
           "<CPlateDesc classtype=\"8_3\" name=\"P\" lenexp=\"@P_Len\" .../>", FixKind::SafeOrUnsafe});
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
