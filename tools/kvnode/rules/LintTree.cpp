// The document's shape: where each element sits and which class it is read
// as (misplaced-element, class-mismatch, misspelt-element), text no descriptor
// reads (stray-text), and the reader's own warnings (xml-warning, unknown-class).
#include "model/Catalogue.h"
#include "model/Spelling.h"
#include "rules/Families.h"

#include <algorithm>
#include <map>

namespace kvnode {

namespace {

constexpr RuleId kXmlWarning = "xml-warning";
constexpr RuleId kUnknownClass = "unknown-class";
constexpr RuleId kClassMismatch = "class-mismatch";
constexpr RuleId kMisplacedElement = "misplaced-element";
constexpr RuleId kMisspeltElement = "misspelt-element";
constexpr RuleId kStrayText = "stray-text";

std::pair<int, int> PlaceOf(const LintContext& c, const CXMLBase& o)
{
    const XmlPosition p = c.Doc().GetPosition(&o);
    return {p.line, p.column};
}

// An unknown element whose name is a class's: its class index is one no class has.
void UnknownIndex(LintContext& c, const CXMLBase& o)
{
    const char* name = o.GetElementName();
    const ClassInfo* info = ClassOf(CRuntimeClass::FromName(name));
    if (!info)
        return;
    CString index;
    o.GetAttText("classtype", index);
    c.Add(kClassMismatch, o, "classtype",
          "<" + std::string(name) + "> has class index \"" + Utf8(index) + "\", which no class has (a " + name +
              "'s is \"" + info->index + "\"): the element is in no list of the host");
    c.explained.insert(PlaceOf(c, o));
}

// An unknown element without a class index whose name is a slip of a
// class's: the reader takes the name as it is, so the element and all it
// holds are in no list of the host.
bool Misspelt(LintContext& c, const CXMLBase& o, const Speller& classNames)
{
    CString index;
    if (o.GetAttText("classtype", index))
        return false;
    const std::string name = o.GetElementName();
    const Suggestion s = classNames.Closest(name);
    if (s.word.empty())
        return false;
    Finding& f = c.Add(kMisspeltElement, o, "",
                       "<" + Utf8(name.data(), name.size()) + "> names no class (did you mean <" + s.word + ">?" +
                           (s.caseOnly ? " only letter case differs" : "") +
                           "): the element and all it holds are in no list of the host");
    // the one class that close is what the author meant; one of several as close is a guess
    f.fix = s.only ? Fix::Safe(Fix::Part::Element, s.word) : Fix::Unsafe(Fix::Part::Element, s.word);
    c.explained.insert(PlaceOf(c, o));
    return true;
}

std::vector<std::string> ClassNames()
{
    std::vector<std::string> names;
    for (const ClassInfo& info : Classes())
        names.push_back(info.element);
    return names;
}

// Text or CDATA among a descriptor's children: kept and written back, but
// no descriptor reads it (a value list's content is the reader's to warn of).
void StrayText(LintContext& c, const CXMLBase& o)
{
    const auto& text = static_cast<const CXMLText&>(o);
    const CXMLBase* parent = o.GetParent();
    if ((text.GetKind() != CXMLText::Text && text.GetKind() != CXMLText::CData) || !parent ||
        !(parent->IsKindOf(RUNTIME_CLASS(CBaseDesc)) || parent->IsKindOf(RUNTIME_CLASS(CNodeAttDef))))
        return;
    std::string shown = Utf8(text.GetText());
    const size_t begin = shown.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return;
    shown = shown.substr(begin, shown.find_last_not_of(" \t\r\n") + 1 - begin);
    constexpr size_t kShown = 40;
    if (shown.size() > kShown) {
        size_t cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown = shown.substr(0, cut) + "...";
    }
    for (char& ch : shown)
        if (ch == '\n' || ch == '\r' || ch == '\t')
            ch = ' ';
    c.Add(kStrayText, c.Doc().GetPosition(&o).line ? o : *parent, "",
          "text inside " + Label(*parent) + ", \"" + shown +
              "\": no descriptor reads it (write it as an attribute, or in a comment)");
}

std::string Plural(const CRuntimeClass* cls)
{
    const std::string word = Noun(cls);
    return word + (word.back() == 's' ? "es" : "s");
}

std::string Listed(const std::vector<CRuntimeClass*>& classes)
{
    std::string text;
    for (size_t i = 0; i < classes.size(); ++i)
        text += (i == 0 ? "" : i + 1 == classes.size() ? " and " : ", ") + Plural(classes[i]);
    return text.empty() ? "nothing" : text;
}

bool Lists(const ClassInfo& parent, const CRuntimeClass* child)
{
    return std::find(parent.children.begin(), parent.children.end(), child) != parent.children.end();
}

void Placement(LintContext& c, const CXMLBase& o)
{
    const CXMLBase* parent = o.GetParent();
    const ClassInfo* info = ClassOf(o);
    const ClassInfo* parentInfo = parent ? ClassOf(*parent) : nullptr;
    if (!info || info->IsRoot() || !parentInfo)
        return; // unknown elements are unknown-class's
    if (Lists(RootClass(), info->cls) && !parentInfo->IsRoot()) {
        c.Add(kMisplacedElement, o, "",
              Label(o) + " in " + Label(*parent) + ": a " + info->noun + " belongs directly under the document root");
        return;
    }
    if (parentInfo->IsRoot())
        return; // what else the root holds is the host's
    if (!Lists(*parentInfo, info->cls)) {
        c.Add(kMisplacedElement, o, "",
              "a " + info->noun + " in " + Label(*parent) + ", whose lists see only " + Listed(parentInfo->children) +
                  ": no list of the host sees it");
        return;
    }
    // a variable's values are those of its first value list (CVarDesc::GetValueList)
    if (o.IsKindOf(RUNTIME_CLASS(CValueListDesc)) && parent->IsKindOf(RUNTIME_CLASS(CVarDesc))) {
        for (const CXMLBase* sibling : ChildrenOf(*parent))
            if (sibling->IsKindOf(RUNTIME_CLASS(CValueListDesc))) {
                if (sibling != &o)
                    c.Add(kMisplacedElement, o, "",
                          "a second value list in " + Label(*parent) + ": the host reads only the first");
                break;
            }
    }
}

void Root(LintContext& c, const CXMLBase& root)
{
    const ClassInfo* info = ClassOf(root);
    if (info && info->IsRoot())
        return;
    c.Add(kMisplacedElement, root, "",
          "the root <" + std::string(root.GetElementName()) + "> is not a node definition document, whose root is <" +
              RootClass().element + " classtype=\"" + RootClass().index + "\">");
}

} // namespace

void RegisterTreeRules(RuleRegistry& r)
{
    r.Add({kXmlWarning, Severity::Warning, "the reader met something it does not keep or read as the element says",
           "The host reads the document, but not all of it as written: something is dropped or read otherwise. "
           "The message says what.",
           "<CValueListDesc classtype=\"8_11\" v1=\"1\"><x/></CValueListDesc>",
           "<CValueListDesc classtype=\"8_11\" v1=\"1\" />"});
    r.Add({kUnknownClass, Severity::Warning,
           "an element of a class no registered class index or name stands for; it is kept as it is",
           "The element is kept and written back, but no descriptor list of the host sees it. A host may keep "
           "elements of its own; otherwise check the element name and its classtype.",
           "<CWeldDesc classtype=\"8_40\" name=\"W\"/>", "(an element the host knows, or none)"});
    r.Add({kClassMismatch, Severity::Error,
           "an element whose class index is unknown or names another class than the element",
           "The reader creates objects by class index: an unknown one leaves the element out of every list, and "
           "another class's index makes it that class.",
           "<CPlateDesc classtype=\"8_33\" name=\"P\" .../>", "<CPlateDesc classtype=\"8_3\" name=\"P\" .../>"});
    r.Add({kMisspeltElement, Severity::Error,
           "an element without a class index whose name is a slip of a class's name",
           "Without classtype the element name decides the class. A name close to a class's (letter case "
           "ignored) is a typo: the reader keeps the element as one of an unknown class, so the descriptor and all "
           "it holds are in no list of the host. A name far from every class is an unknown-class warning.",
           "<CPlatDesc name=\"P\" planes=\"A,B,C\" .../>", "<CPlateDesc name=\"P\" planes=\"A,B,C\" .../>",
           FixKind::SafeOrUnsafe});
    r.Add({kStrayText, Severity::Error, "text inside a descriptor's element, which no descriptor reads",
           "Descriptors read attributes only. Text or CDATA between a descriptor's children is kept and written "
           "back, but nothing reads it: a value written there is not the descriptor's.",
           "<CVarDesc classtype=\"8_10\" name=\"Thick\">20</CVarDesc>",
           "<CVarDesc classtype=\"8_10\" name=\"Thick\" value=\"20\" />"});
    r.Add({kMisplacedElement, Severity::Error, "an element where the tree has no place for it",
           "The root is a CNodeAttDef; node types sit directly under it; below a node type each descriptor sits "
           "where its parent's lists look for it (a cut in a plate, member or link bar, a variable in a variable "
           "item, a value list in a variable). Elsewhere no list sees it.",
           "<CNodeMemberDesc classtype=\"8_4\" name=\"M\" ...><CPlateDesc .../></CNodeMemberDesc>",
           "<CNodeMemberDesc classtype=\"8_4\" name=\"M\" .../> <CPlateDesc .../>"});
}

void CheckTree(LintContext& c)
{
    const CXMLBase* root = c.Doc().GetRoot();
    if (!root)
        return;
    Root(c, *root);
    std::set<std::pair<int, int>> unknown;
    std::map<std::pair<int, int>, const CXMLBase*> elements; // for the reader's warnings, by place
    const Speller classNames(ClassNames(), true);
    ForEachObject(*root, [&](const CXMLBase& o) {
        // what an unknown element holds is kept unread, whatever its names
        const CXMLBase* parent = o.GetParent();
        if (parent && parent->IsKindOf(RUNTIME_CLASS(CXMLUnknown)))
            return;
        if (o.IsKindOf(RUNTIME_CLASS(CXMLText))) {
            StrayText(c, o);
            return;
        }
        elements.emplace(PlaceOf(c, o), &o);
        if (!o.IsKindOf(RUNTIME_CLASS(CXMLUnknown))) {
            Placement(c, o);
            return;
        }
        unknown.insert(PlaceOf(c, o));
        if (!Misspelt(c, o, classNames))
            UnknownIndex(c, o);
    });
    // the reader's warnings; those at an element it kept as unknown are about its class
    for (const XmlDiagnostic& w : c.Doc().GetWarnings()) {
        const std::pair<int, int> at{w.line, w.column};
        if (c.explained.count(at))
            continue;
        RuleId rule = unknown.count(at) ? kUnknownClass : kXmlWarning;
        if (w.message.find("has the class index of") != std::string::npos)
            rule = kClassMismatch;
        const auto element = elements.find(at);
        if (element != elements.end())
            c.Add(rule, *element->second, "", DiagnosticText(w));
        else
            c.Add(rule, XmlPosition{w.line, w.column}, DiagnosticText(w)).elementPath = Utf8(w.path.data(), w.path.size());
    }
}

} // namespace kvnode
