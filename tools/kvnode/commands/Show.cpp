#include "commands/Commands.h"
#include "model/Input.h"
#include "model/Model.h"
#include "output/Escape.h"

#include <cstring>

namespace kvnode {

namespace {

// A value as the line shows it: bare when it can be, else in quotes. What a
// file holds is printed so that it cannot start a line of its own.
std::string ShowValue(const std::string& text)
{
    const std::string shown = Printable(text);
    if (!shown.empty() && shown.find_first_of(" \"") == std::string::npos)
        return shown;
    std::string quoted = "\"";
    for (const char c : shown)
        quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
    return quoted + "\"";
}

// "(Q345)" after an enumeration's number
std::string TableText(const Field& f)
{
    const char* text = f.reading.type == AttType::Enumeration && f.reading.table
                           ? f.reading.table->TextOf(TextToInt(f.value.GetString()))
                           : nullptr;
    return text ? "(" + Utf8(text, std::strlen(text)) + ")" : std::string();
}

void ShowObject(const CXMLBase& object, int depth, std::ostream& out)
{
    if (object.IsKindOf(RUNTIME_CLASS(CXMLText)))
        return; // text and comments between elements say nothing about the node
    out << std::string(static_cast<size_t>(depth) * 2, ' ') << Printable(Utf8(CString(object.GetElementName())));
    if (object.IsKindOf(RUNTIME_CLASS(CBaseDesc))) {
        const auto& desc = static_cast<const CBaseDesc&>(object);
        out << " \"" << Printable(Utf8(desc.GetName())) << '"';
        if (!desc.GetShowName().IsEmpty())
            out << " (" << Printable(Utf8(desc.GetShowName())) << ')';
    }
    if (object.IsKindOf(RUNTIME_CLASS(CXMLUnknown)))
        out << " (unknown class)";
    for (const Field& f : KeyFields(object))
        if (!IsBaseAttribute(f.attribute) && (f.reading.needed || !f.value.IsEmpty()))
            out << ' ' << f.attribute << (f.derived ? "*=" : "=") << ShowValue(Utf8(f.value)) << TableText(f);
    out << '\n';
    for (const CXMLBase* child : ChildrenOf(object))
        ShowObject(*child, depth + 1, out);
}

} // namespace

int RunShow(const Options& options, std::ostream& out, std::ostream& err)
{
    CXMLDocument doc;
    if (!LoadInput(options.files.front(), doc, err))
        return kExitFailure;
    if (!options.hasNode) {
        if (doc.GetRoot())
            ShowObject(*doc.GetRoot(), 0, out);
        return kExitClean;
    }
    std::vector<const CNodeTypeDesc*> nodes;
    if (!SelectNodeTypes(doc, &options.node, nodes, err))
        return kExitFailure;
    ShowObject(*nodes.front(), 0, out);
    return kExitClean;
}

} // namespace kvnode
