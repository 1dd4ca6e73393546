#include <xmlobj/XmlDiagnostic.h>
#include <xmlobj/text/Printable.h>

std::string XmlDiagnostic::Format() const
{
    std::string s = file.empty() ? "<no file>" : file;
    if (line > 0)
        s += ":" + std::to_string(line) + ":" + std::to_string(column);
    s += ": " + message;
    if (!path.empty())
        s += " (in " + path + ")";
    // a file's name, or a text a message quotes, may hold what would move a terminal's cursor or change its colours
    return Printable(s);
}
