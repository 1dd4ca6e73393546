#include "config/ConfigFile.h"

#include "config/FilePath.h"
#include "model/Input.h"
#include "model/SourceText.h"
#include "model/Spelling.h"
#include "output/Report.h"
#include "rules/Lint.h"

#include <toml.hpp>

#include <algorithm>
#include <sstream>

namespace kvnode {

namespace {

const std::vector<std::string> kKeys = {"select", "ignore",  "error",   "warning",
                                        "strict", "format", "exclude", "per-file-ignores"};

// The first thing wrong in the file, by its place: a table's keys come in no order.
class Problems {
public:
    explicit Problems(std::string file) : m_file(std::move(file)) {}

    void Add(int line, int column, const std::string& message)
    {
        if (m_line == 0 || std::make_pair(line, column) < std::make_pair(m_line, m_column)) {
            m_line = line;
            m_column = column;
            m_message = message;
        }
    }
    // at a value; at its key when key is given (toml11 keeps the places of values only)
    void Add(const toml::value& at, const std::string& message, const std::string& key = std::string())
    {
        const toml::source_location place = at.location();
        const std::string& line = place.line_str();
        size_t column = place.column();
        const size_t found = key.empty() ? std::string::npos : line.find(key);
        if (found != std::string::npos && found < column)
            column = found > 0 && line[found - 1] == '"' ? found : found + 1;
        Add(static_cast<int>(place.line()), Utf8Chars(line, 0, std::min(column, line.size() + 1) - 1) + 1, message);
    }

    bool Any() const { return m_line != 0; }
    std::string Text() const
    {
        return m_file + ":" + std::to_string(m_line) + ":" + std::to_string(m_column) + ": error: " + m_message;
    }

private:
    std::string m_file;
    int m_line = 0, m_column = 0;
    std::string m_message;
};

// toml11's own message names the place in a picture:
//   [error] toml::parse_array: missing array separator `,` after a value
//    --> kvnode.toml
//    2 | strict = yes
//      | ^--- should be `,`
// (or ~~~~ under a whole value). The place is the last mark's; its note ends the message.
std::string SyntaxProblem(const std::string& what, const std::string& file)
{
    std::istringstream lines(what);
    std::string line, message, note, lineText;
    int number = 0, column = 0, lineNumber = 0;
    while (std::getline(lines, line)) {
        const size_t bar = line.find(" | ");
        const size_t mark = bar == std::string::npos ? bar : line.find_first_of("^~", bar);
        if (message.empty()) {
            message = line.substr(line.compare(0, 8, "[error] ") == 0 ? 8 : 0);
            // the parser's own function ("toml::parse_array: ") says nothing to an author
            const size_t colon = message.find(": ");
            if (colon != std::string::npos &&
                message.find_first_not_of("abcdefghijklmnopqrstuvwxyz_:") == colon + 1)
                message.erase(0, colon + 2);
        } else if (bar != std::string::npos && line.find_first_not_of(' ') < bar) {
            lineNumber = std::atoi(line.c_str());
            lineText = line.substr(bar + 3);
        } else if (mark != std::string::npos) {
            number = lineNumber;
            column = Utf8Chars(lineText, 0, std::min(mark - bar - 3, lineText.size())) + 1;
            note = line.substr(mark);
            note.erase(0, std::min(note.find_first_not_of("^-~ "), note.size()));
        }
    }
    if (number == 0) { // no mark: the last line shown
        number = lineNumber;
        column = 1;
    }
    if (!note.empty() && note != "here") {
        if (!message.empty() && message.back() == '.')
            message.pop_back();
        message += ": " + note;
    }
    return file + ":" + std::to_string(number) + ":" + std::to_string(column) + ": error: " + message;
}

std::vector<std::string> RuleIdList()
{
    std::vector<std::string> ids;
    for (const Rule& r : Rules())
        ids.emplace_back(r.id);
    return ids;
}

// a list of texts, as key = ["a", "b"]; false with a problem for anything else
bool Texts(const toml::value& v, const std::string& key, const char* what, Problems& problems,
           std::vector<std::pair<std::string, const toml::value*>>& out)
{
    const std::string example = std::string(" (") + key + " = [\"...\"])";
    if (!v.is_array()) {
        problems.Add(v, "\"" + key + "\" takes a list of " + what + example, key);
        return false;
    }
    for (const toml::value& item : v.as_array()) {
        if (!item.is_string()) {
            problems.Add(item, "\"" + key + "\" takes a list of " + what + example);
            return false;
        }
        out.emplace_back(item.as_string().str, &item);
    }
    return true;
}

bool RuleList(const toml::value& v, const std::string& key, Problems& problems, std::vector<std::string>& out)
{
    std::vector<std::pair<std::string, const toml::value*>> texts;
    if (!Texts(v, key, "rule ids", problems, texts))
        return false;
    static const std::vector<std::string> ids = RuleIdList();
    bool good = true;
    for (const auto& [id, at] : texts) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
            problems.Add(*at, "no rule \"" + id + "\"" + DidYouMean(Closest(id, ids)));
            good = false;
        }
        out.push_back(id);
    }
    return good;
}

bool Patterns(const toml::value& v, const std::string& key, Problems& problems, std::vector<PathPattern>& out)
{
    std::vector<std::pair<std::string, const toml::value*>> texts;
    if (!Texts(v, key, "globs", problems, texts))
        return false;
    for (const auto& [text, at] : texts) {
        PathPattern pattern;
        std::string problem;
        if (!PathPattern::Parse(text, pattern, problem)) {
            problems.Add(*at, "\"" + text + "\": " + problem);
            return false;
        }
        out.push_back(pattern);
    }
    return true;
}

std::vector<std::string> SplitIds(const std::vector<std::string>& lists)
{
    std::vector<std::string> ids;
    for (const std::string& list : lists)
        for (size_t start = 0; start <= list.size();) {
            const size_t comma = std::min(list.find(',', start), list.size());
            ids.push_back(list.substr(start, comma - start));
            start = comma + 1;
        }
    return ids;
}

bool Contains(const std::vector<std::string>& ids, const std::string& id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

bool ConfigFile::Load(const std::string& path, std::string& problem)
{
    m_path = path;
    m_folder = ParentFolder(path);
    const std::string shown = ShownPath(path);
    std::string bytes;
    XmlDiagnostic error;
    if (!ReadInput(path, bytes, error)) {
        problem = shown + ": error: " + error.message;
        return false;
    }
    toml::value root;
    try {
        std::istringstream in(bytes);
        root = toml::parse(in, shown);
    } catch (const toml::exception& e) {
        problem = SyntaxProblem(e.what(), shown);
        return false;
    } catch (const std::exception& e) {
        problem = shown + ": error: " + e.what();
        return false;
    }
    Problems problems(shown);
    for (const auto& [key, v] : root.as_table()) {
        if (key == "select" || key == "ignore" || key == "error" || key == "warning") {
            RuleList(v, key, problems,
                     key == "select" ? m_select : key == "ignore" ? m_ignore : key == "error" ? m_error : m_warning);
        } else if (key == "strict") {
            if (v.is_boolean())
                m_strict = v.as_boolean();
            else
                problems.Add(v, "\"strict\" takes true or false", key);
        } else if (key == "format") {
            std::vector<std::string> formats;
            std::string names;
            for (const OutputFormat& f : OutputFormats()) {
                formats.push_back(f.name);
                names += (names.empty() ? "" : ", ") + formats.back();
            }
            if (!v.is_string())
                problems.Add(v, "\"format\" takes the name of a format, as format = \"github\"", key);
            else if (!Contains(formats, m_format = v.as_string().str))
                problems.Add(v, "no format \"" + m_format + "\"" + DidYouMean(Closest(m_format, formats)) +
                                    " (formats: " + names + ")");
        } else if (key == "exclude") {
            Patterns(v, key, problems, m_exclude);
        } else if (key == "per-file-ignores") {
            if (!v.is_table()) {
                problems.Add(v, "\"per-file-ignores\" is a table of globs and the rules they ignore, as "
                                "[per-file-ignores] \"generated/**\" = [\"unused-varitem\"]", key);
                continue;
            }
            for (const auto& [glob, rules] : v.as_table()) {
                PerFileIgnore entry;
                std::string why;
                if (!PathPattern::Parse(glob, entry.pattern, why))
                    problems.Add(rules, "\"" + glob + "\": " + why, glob);
                else if (RuleList(rules, glob, problems, entry.rules))
                    m_perFileIgnores.push_back(entry);
            }
        } else {
            problems.Add(v, "unknown key \"" + key + "\"" + DidYouMean(Closest(key, kKeys)), key);
        }
    }
    for (const std::string& id : m_warning)
        if (Contains(m_error, id))
            problems.Add(root.as_table().at("warning"), "rule " + id + " is given to both error and warning", "warning");
    if (problems.Any()) {
        problem = problems.Text();
        return false;
    }
    return true;
}

bool ConfigFile::Relative(const std::string& file, std::string& relative) const
{
    return !IsStdin(file) && PathBelow(m_folder, file, relative);
}

Options ConfigFile::Apply(const Options& commandLine, const std::string& file) const
{
    Options o = commandLine;
    if (commandLine.select.empty())
        o.select = m_select;
    o.ignore = m_ignore;
    std::string relative;
    if (Relative(file, relative))
        for (const PerFileIgnore& p : m_perFileIgnores)
            if (p.pattern.Matches(relative))
                o.ignore.insert(o.ignore.end(), p.rules.begin(), p.rules.end());
    o.ignore.insert(o.ignore.end(), commandLine.ignore.begin(), commandLine.ignore.end());
    // a rule the command line names takes the severity it gives
    const std::vector<std::string> errors = SplitIds(commandLine.error), warnings = SplitIds(commandLine.warning);
    o.error.clear();
    o.warning.clear();
    for (const std::string& id : m_error)
        if (!Contains(warnings, id))
            o.error.push_back(id);
    for (const std::string& id : m_warning)
        if (!Contains(errors, id))
            o.warning.push_back(id);
    o.error.insert(o.error.end(), commandLine.error.begin(), commandLine.error.end());
    o.warning.insert(o.warning.end(), commandLine.warning.begin(), commandLine.warning.end());
    o.strict = commandLine.strict || m_strict;
    return o;
}

bool ConfigFile::Excludes(const std::string& file) const
{
    std::string relative;
    if (!Relative(file, relative))
        return false;
    return std::any_of(m_exclude.begin(), m_exclude.end(), [&](const PathPattern& p) { return p.Matches(relative); });
}

} // namespace kvnode
