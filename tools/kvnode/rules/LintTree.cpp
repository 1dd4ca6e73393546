// misplaced-element, class-mismatch, and the reader's own warnings
// (unknown-class, xml-warning)
#include "model/Catalogue.h"
#include "rules/LintContext.h"

#include <algorithm>

namespace kvnode {

namespace {

std::pair<int, int> PlaceOf(const LintContext& c, const CXMLBase& o)
{
    const XmlPosition p = c.Doc().GetPosition(&o);
    return {p.line, p.column};
}

// An unknown element whose name is a class's: its class index is one no class has.
void UnknownIndex(LintContext& c, const CXMLBase& o)
{
    const char* name = o.GetElementName();
    const CRuntimeClass* cls = CRuntimeClass::FromName(name);
    const ClassInfo* info = nullptr;
    for (const ClassInfo& k : Classes())
        if (k.cls == cls)
            info = &k;
    if (!info)
        return;
    CString index;
    o.GetAttText("classtype", index);
    c.Add(RuleId::ClassMismatch, o,
          "<" + std::string(name) + "> has class index \"" + Utf8(index) + "\", which no class has (a " + name +
              "'s is \"" + info->index + "\"): the element is in no list of the host");
    c.mismatched.insert(PlaceOf(c, o));
}

std::string Plural(Kind kind)
{
    const std::string word = KindWord(kind);
    return word + (word.back() == 's' ? "es" : "s");
}

std::string Listed(const std::vector<Kind>& kinds)
{
    std::string text;
    for (size_t i = 0; i < kinds.size(); ++i)
        text += (i == 0 ? "" : i + 1 == kinds.size() ? " and " : ", ") + Plural(kinds[i]);
    return text.empty() ? "nothing" : text;
}

void Placement(LintContext& c, const CXMLBase& o)
{
    const CXMLBase* parent = o.GetParent();
    const ClassInfo* info = ClassOf(o);
    const ClassInfo* parentInfo = parent ? ClassOf(*parent) : nullptr;
    if (!info || info->IsRoot() || !parentInfo)
        return; // unknown elements are unknown-class's; what the root holds is the host's
    const Kind kind = info->kind;
    if (kind == Kind::NodeType && !parentInfo->IsRoot()) {
        c.Add(RuleId::MisplacedElement, o,
              Label(o) + " in " + Label(*parent) + ": a node type belongs directly under the document root");
        return;
    }
    if (parentInfo->IsRoot())
        return;
    const auto& allowed = parentInfo->children;
    if (std::find(allowed.begin(), allowed.end(), kind) == allowed.end())
        c.Add(RuleId::MisplacedElement, o,
              "a " + std::string(KindWord(kind)) + " in " + Label(*parent) + ", whose lists see only " +
                  Listed(allowed) + ": no list of the host sees it");
}

void Root(LintContext& c, const CXMLBase& root)
{
    const ClassInfo* info = ClassOf(root);
    if (info && info->IsRoot())
        return;
    c.Add(RuleId::MisplacedElement, root,
          "the root <" + std::string(root.GetElementName()) + "> is not a node definition document, whose root is <" +
              RootClass().element + " classtype=\"" + RootClass().index + "\">");
}

} // namespace

void CheckTree(LintContext& c)
{
    std::set<std::pair<int, int>> unknown;
    if (const CXMLBase* root = c.Doc().GetRoot()) {
        Root(c, *root);
        ForEachObject(*root, [&](const CXMLBase& o) {
            // what an unknown element holds is kept unread, whatever its names
            const CXMLBase* parent = o.GetParent();
            if (parent && parent->IsKindOf(RUNTIME_CLASS(CXMLUnknown)))
                return;
            if (o.IsKindOf(RUNTIME_CLASS(CXMLUnknown))) {
                unknown.insert(PlaceOf(c, o));
                UnknownIndex(c, o);
            } else {
                Placement(c, o);
            }
        });
    }
    // the reader's warnings; those at an element it kept as unknown are about its class
    for (const XmlDiagnostic& w : c.Doc().GetWarnings()) {
        const std::pair<int, int> at{w.line, w.column};
        if (c.mismatched.count(at))
            continue;
        RuleId rule = unknown.count(at) ? RuleId::UnknownClass : RuleId::XmlWarning;
        if (w.message.find("has the class index of") != std::string::npos)
            rule = RuleId::ClassMismatch;
        c.Add(rule, XmlPosition{w.line, w.column}, DiagnosticText(w));
    }
}

} // namespace kvnode
