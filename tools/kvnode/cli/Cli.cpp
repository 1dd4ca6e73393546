// The command line of kvnode: the command and option tables, parsing,
// help and the words that shell completion offers, all from the same tables.
#include "cli/Cli.h"

#include "commands/Commands.h"
#include "model/Input.h"
#include "model/Spelling.h"
#include "output/Report.h"
#include "rules/Lint.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDOUT_FILENO 1
#else
#include <unistd.h>
#endif

namespace {

using namespace kvnode;
using Choices = std::vector<std::string> (*)();

std::vector<std::string> RuleIds()
{
    std::vector<std::string> ids;
    for (const Rule& r : Rules())
        ids.emplace_back(r.id);
    return ids;
}
std::vector<std::string> FormatNames()
{
    std::vector<std::string> names;
    for (const OutputFormat& f : OutputFormats())
        names.push_back(f.name);
    return names;
}
std::vector<std::string> ColorModes() { return {"auto", "always", "never"}; }
std::vector<std::string> RankDirs() { return {"TB", "LR"}; }
std::vector<std::string> Encodings() { return {"utf-8", "gbk"}; }

struct OptionDef {
    const char* name;  // "--node"
    const char* alias; // "-o", or null
    const char* value; // what its argument is called in help ("NAME"); null for a flag
    const char* help;
    bool Options::*flag = nullptr;
    std::string Options::*text = nullptr;
    std::vector<std::string> Options::*list = nullptr; // may be given again: the values add up
    Choices choices = nullptr; // the values it takes, offered on completion
    bool onlyChoices = false;  // anything else is a usage error
};

OptionDef Flag(const char* name, const char* alias, bool Options::*flag, const char* help)
{
    return OptionDef{name, alias, nullptr, help, flag};
}
OptionDef Text(const char* name, const char* alias, const char* value, std::string Options::*text, const char* help,
               Choices choices = nullptr, bool onlyChoices = false)
{
    OptionDef o{name, alias, value, help};
    o.text = text;
    o.choices = choices;
    o.onlyChoices = onlyChoices;
    return o;
}
OptionDef RuleList(const char* name, std::vector<std::string> Options::*list, const char* help)
{
    OptionDef o{name, nullptr, "RULE,...", help};
    o.list = list;
    o.choices = RuleIds;
    return o;
}

struct Command {
    const char* name;
    int (*run)(const Options&, std::ostream&, std::ostream&);
    const char* usage;
    const char* summary;
    std::vector<OptionDef> options;
    bool (*takesManyFiles)(const Options&);
    const char* manyFilesWith; // the options that let it take many files, for the usage error
    std::string (*details)();
    bool takesFiles = true;
    const char* operand = "file"; // what it takes, for usage errors
};

bool Always(const Options&) { return true; }
bool Never(const Options&) { return false; }
bool FmtTakesManyFiles(const Options& o) { return o.check || o.diff || o.inPlace; }

std::string CheckDetails()
{
    std::ostringstream s;
    s << "Rules (severity, id):\n";
    for (const Rule& r : Rules())
        s << "  " << (r.severity == Severity::Error ? "error  " : "warning") << "  " << r.id << "\n      " << r.summary
          << "\n";
    s << "\nFormats:\n";
    for (const OutputFormat& f : OutputFormats())
        s << "  " << f.name << std::string(8 - std::min<size_t>(7, std::string(f.name).size()), ' ') << f.summary
          << "\n";
    s << "\nA comment <!-- kvnode: ignore RULE,... --> silences those rules on the element\n"
         "that follows it; <!-- kvnode: ignore-file RULE,... --> in the whole file.\n"
         "\nThe nearest kvnode.toml in a file's folder or above holds select, ignore,\n"
         "error, warning, strict, format, exclude and per-file-ignores for it; the\n"
         "command line wins. 'kvnode explain RULE' tells what a rule finds.\n"
         "\nExit status: 0 no errors (warnings alone pass), 1 an error (with --strict, any\n"
         "finding), 2 a file that cannot be read or parsed, or a wrong command line.\n";
    return s.str();
}

std::string NoDetails() { return std::string(); }

const Command kCommands[] = {
    {"check", RunCheck, "kvnode check [OPTIONS] FILE...",
     "Loads each file (- for standard input) and lints it. In text, each finding is\n"
     "file:line:column: error|warning: message [rule-id], with the source line under it\n"
     "and ^~~~ under the attribute value or element it is about, and a summary line\n"
     "ends the output.\n",
     {Text("--format", nullptr, "FORMAT", &Options::format, "text (default), json, sarif or github", FormatNames, true),
      Flag("--json", nullptr, &Options::json, "the findings as one JSON array, as before --format"),
      Text("--color", nullptr, "WHEN", &Options::color, "auto (default: on a terminal, unless NO_COLOR), always, never",
           ColorModes, true),
      RuleList("--select", &Options::select, "check only these rules"),
      RuleList("--ignore", &Options::ignore, "do not check these rules"),
      RuleList("--error", &Options::error, "report these rules as errors"),
      RuleList("--warning", &Options::warning, "report these rules as warnings, even with --strict"),
      Flag("--strict", nullptr, &Options::strict, "every warning is an error"),
      Flag("--quiet", "-q", &Options::quiet, "print only errors, and no summary"),
      Text("--config", nullptr, "PATH", &Options::config, "use this kvnode.toml, not the nearest one above each file"),
      Flag("--isolated", nullptr, &Options::isolated, "use no kvnode.toml"),
      Flag("--statistics", nullptr, &Options::statistics, "print a count per rule instead of the findings"),
      Flag("--fix", nullptr, &Options::fix, "apply the safe fixes, then report what remains"),
      Flag("--unsafe-fixes", nullptr, &Options::unsafeFixes, "with --fix, apply the unsafe fixes too"),
      Flag("--diff", nullptr, &Options::diff,
           "with --fix or --add-suppressions, print what would change and write nothing"),
      Text("--baseline", nullptr, "FILE", &Options::baseline, "report only the findings FILE does not hold"),
      Text("--write-baseline", nullptr, "FILE", &Options::writeBaseline, "write the findings to FILE as a baseline"),
      Flag("--add-suppressions", nullptr, &Options::addSuppressions,
           "write a kvnode: ignore comment before each element with findings")},
     Always, nullptr, CheckDetails},
    {"show", RunShow, "kvnode show [--node NAME] FILE",
     "Prints the tree, one descriptor a line, indented, with its class, name,\n"
     "show name and the fields that matter for its kind and construction type.\n",
     {Text("--node", nullptr, "NAME", &Options::node, "only the node type of that name")}, Never, nullptr, NoDetails},
    {"graph", RunGraph, "kvnode graph [--node NAME] [--rankdir TB|LR] [--svg] FILE",
     "Prints which descriptor is built from or placed by which, in Graphviz DOT:\n"
     "one cluster per node type, nodes coloured by kind, edges labelled by the\n"
     "field (dashed: what a descriptor owns; red and bold: a construction cycle;\n"
     "a red dashed node: a name that leads nowhere), and a legend.\n"
     "Draw it with --svg, or: kvnode graph FILE | dot -Tpng > graph.png\n",
     {Text("--node", nullptr, "NAME", &Options::node, "only the node type of that name"),
      Text("--rankdir", nullptr, "TB|LR", &Options::rankdir,
           "top to bottom or left to right (default: what gives the picture a readable shape)", RankDirs, true),
      Flag("--svg", nullptr, &Options::svg, "run Graphviz's dot and print SVG")},
     Never, nullptr, NoDetails},
    {"fmt", RunFmt, "kvnode fmt [-o OUT] [--encoding utf-8|gbk] FILE | fmt --check|--diff|-i FILE...",
     "Lays the file out anew and changes nothing else: one element a line,\n"
     "indented, attributes in the canonical order, blank-line runs as one, the\n"
     "file's line ending and encoding; every value, name, comment and text as\n"
     "written. A copy that would read otherwise is not written (status 2).\n"
     "- is standard input, and the copy goes to standard output.\n",
     {Text("--output", "-o", "OUT", &Options::output, "write to OUT (replaced atomically) instead of standard output"),
      Text("--encoding", nullptr, "ENC", &Options::encoding, "the encoding to write: utf-8 or gbk", Encodings),
      Flag("--check", nullptr, &Options::check, "write nothing; name the files that would change (status 1)"),
      Flag("--diff", nullptr, &Options::diff, "write nothing; print what would change as a unified diff (status 1)"),
      Flag("--in-place", "-i", &Options::inPlace, "replace each file that changes by its copy, atomically")},
     FmtTakesManyFiles, "--check, --diff, -i", NoDetails},
    {"schema", RunSchema, "kvnode schema",
     "Prints an XML Schema (XSD 1.0) of the format, made from the classes' own\n"
     "attribute and enumeration tables, for XML editors and xmllint.\n",
     {}, Never, nullptr, NoDetails, false},
    {"explain", RunExplain, "kvnode explain RULE | explain --list",
     "Prints what a rule finds, why it matters, whether it has a fix, and an\n"
     "example written wrong and right. 'kvnode help RULE' does the same.\n",
     {Flag("--list", nullptr, &Options::list, "every rule: its id, severity, fix and summary")}, Never, nullptr, NoDetails,
     true, "rule"},
    {"lsp", RunLsp, "kvnode lsp [--config PATH | --isolated]",
     "Serves the Language Server Protocol on standard input and output, for an\n"
     "editor: the findings of check as you type, completion, hover, go to\n"
     "definition, references, rename, the outline, fmt, and fixes as code actions.\n",
     {Text("--config", nullptr, "PATH", &Options::config, "use this kvnode.toml, not the nearest one above each file"),
      Flag("--isolated", nullptr, &Options::isolated, "use no kvnode.toml")},
     Never, nullptr, NoDetails, false},
};

void ToolHelp(std::ostream& out)
{
    out << "kvnode " << KVNODE_VERSION << ": check, show and normalise node definition documents\n\n"
        << "Usage: kvnode COMMAND [OPTIONS] FILE...\n       kvnode help [COMMAND|RULE] | --help | --version\n\nCommands:\n";
    for (const Command& c : kCommands)
        out << "  " << c.usage << "\n";
    out << "\nRun 'kvnode COMMAND --help' for what a command does and its options,\n"
           "'kvnode help RULE' for what a rule finds and why.\n";
}

void CommandHelp(const Command& c, std::ostream& out)
{
    out << "Usage: " << c.usage << "\n\n" << c.summary << "\n";
    for (const OptionDef& o : c.options) {
        std::string form = o.alias ? std::string(o.alias) + ", " + o.name : std::string("    ") + o.name;
        if (o.value)
            form += std::string(" ") + o.value;
        out << "  " << form << std::string(form.size() < 24 ? 24 - form.size() : 2, ' ') << o.help << "\n";
    }
    const std::string details = c.details();
    if (!details.empty())
        out << "\n" << details;
}

int UsageError(const std::string& message, const char* command)
{
    std::cerr << "kvnode: " << message << "\nTry 'kvnode " << (command ? std::string(command) + " " : "")
              << "--help'.\n";
    return kExitFailure;
}

const OptionDef* FindOption(const Command& c, const std::string& name)
{
    for (const OptionDef& o : c.options)
        if (name == o.name || (o.alias && name == o.alias))
            return &o;
    return nullptr;
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& c : kCommands)
        if (name == c.name)
            return &c;
    return nullptr;
}

std::string Join(const std::vector<std::string>& words, const char* last)
{
    std::string s;
    for (size_t i = 0; i < words.size(); ++i)
        s += (i == 0 ? "" : i + 1 == words.size() ? last : ", ") + words[i];
    return s;
}

std::vector<std::string> CommandNames()
{
    std::vector<std::string> names;
    for (const Command& c : kCommands)
        names.push_back(c.name);
    return names;
}

std::vector<std::string> OptionNames(const Command& c)
{
    std::vector<std::string> names{"--help"};
    for (const OptionDef& o : c.options)
        names.push_back(o.name);
    return names;
}

// what is wrong with the rule ids of option's value ("a,b"), or empty
std::string UnknownRule(const std::string& option, const std::string& value)
{
    const std::vector<std::string> ids = RuleIds();
    for (size_t start = 0; start <= value.size();) {
        const size_t comma = std::min(value.find(',', start), value.size());
        const std::string id = value.substr(start, comma - start);
        start = comma + 1;
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            continue;
        const std::string hint = DidYouMean(Closest(id, ids));
        return option + ": no rule \"" + id + "\"" + (hint.empty() ? " (rules: " + Join(ids, ", ") + ")" : hint);
    }
    return std::string();
}

// kvnode help TOPIC: a command's help or a rule's explanation
int Help(const std::string& topic)
{
    if (const Command* c = FindCommand(topic)) {
        CommandHelp(*c, std::cout);
        return kExitClean;
    }
    const std::vector<std::string> ids = RuleIds();
    if (std::find(ids.begin(), ids.end(), topic) == ids.end()) {
        std::vector<std::string> topics = CommandNames();
        topics.insert(topics.end(), ids.begin(), ids.end());
        return UsageError("no command or rule " + topic + DidYouMean(Closest(topic, topics)), nullptr);
    }
    Options options;
    options.files.push_back(topic);
    return RunExplain(options, std::cout, std::cerr);
}

int RunCommand(const Command& c, int argc, char** argv)
{
    Options options;
    bool onlyFiles = false;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (onlyFiles || arg.size() < 2 || arg[0] != '-') {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            CommandHelp(c, std::cout);
            return kExitClean;
        }
        std::string value;
        const size_t eq = arg.find('=');
        const bool inlineValue = arg.compare(0, 2, "--") == 0 && eq != std::string::npos;
        if (inlineValue) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const OptionDef* o = FindOption(c, arg);
        if (!o)
            return UsageError("unknown option " + arg + " for " + c.name + DidYouMean(Closest(arg, OptionNames(c))),
                              c.name);
        if (o->value && !inlineValue) {
            if (i + 1 == argc)
                return UsageError(arg + " needs a value", c.name);
            value = argv[++i];
        } else if (!o->value && inlineValue) {
            return UsageError(arg + " takes no value", c.name);
        }
        if (o->onlyChoices) {
            const std::vector<std::string> choices = o->choices();
            if (std::find(choices.begin(), choices.end(), value) == choices.end())
                return UsageError(arg + " takes " + Join(choices, " or ") + ", not \"" + value + "\"", c.name);
        }
        if (o->choices == RuleIds) {
            const std::string problem = UnknownRule(arg, value);
            if (!problem.empty())
                return UsageError(problem, c.name);
        }
        if (o->flag)
            options.*(o->flag) = true;
        if (o->text)
            options.*(o->text) = value;
        if (o->list)
            (options.*(o->list)).push_back(value);
        if (o->text == &Options::node)
            options.hasNode = true;
    }
    if (!c.takesFiles && !options.files.empty())
        return UsageError(std::string(c.name) + " takes no " + c.operand, c.name);
    if (c.takesFiles && options.files.empty() && !options.list)
        return UsageError(std::string(c.name) + " needs a " + c.operand, c.name);
    if (std::count_if(options.files.begin(), options.files.end(), IsStdin) > 1)
        return UsageError("standard input (-) can be read only once", c.name);
    if (options.files.size() > 1 && !c.takesManyFiles(options))
        return UsageError(std::string(c.name) + " takes one " + c.operand +
                              (c.manyFilesWith ? std::string(" (or ") + c.manyFilesWith + ")" : std::string()),
                          c.name);
    options.terminal = isatty(STDOUT_FILENO) == 1;
    return c.run(options, std::cout, std::cerr);
}

// The words that shell completion offers, from the same tables (not in --help).
int ListForCompletion(const std::string& what, int argc, char** argv)
{
    const Command* c = argc > 0 ? FindCommand(argv[0]) : nullptr;
    std::vector<std::string> words;
    if (what == "--list-commands") {
        for (const Command& command : kCommands)
            words.push_back(command.name);
    } else if (what == "--list-rules") {
        words = RuleIds();
    } else if (what == "--list-options" && c) {
        for (const OptionDef& o : c->options) {
            words.push_back(std::string(o.name) + (o.value ? "=" : ""));
            if (o.alias)
                words.push_back(o.alias);
        }
        words.push_back("--help");
    } else if (what == "--list-value-options" && c) {
        for (const OptionDef& o : c->options)
            if (o.value) {
                words.push_back(o.name);
                if (o.alias)
                    words.push_back(o.alias);
            }
    } else if (what == "--list-values" && c && argc > 1) {
        const OptionDef* o = FindOption(*c, argv[1]);
        if (o && o->choices)
            words = o->choices();
    } else {
        return UsageError("unknown option " + what, nullptr);
    }
    for (const std::string& w : words)
        std::cout << w << '\n';
    return kExitClean;
}

} // namespace

namespace kvnode {

int RunCommandLine(int argc, char** argv)
{
    if (argc < 2) {
        ToolHelp(std::cerr);
        return kExitFailure;
    }
    const std::string first = argv[1];
    if (first == "help" && argc > 2)
        return argc == 3 ? Help(argv[2]) : UsageError("help takes one command or rule", nullptr);
    if (first == "--help" || first == "-h" || first == "help") {
        ToolHelp(std::cout);
        return kExitClean;
    }
    if (first == "--version") {
        std::cout << "kvnode " << KVNODE_VERSION << "\n";
        return kExitClean;
    }
    if (first.compare(0, 7, "--list-") == 0)
        return ListForCompletion(first, argc - 2, argv + 2);
    if (const Command* c = FindCommand(first))
        return RunCommand(*c, argc - 2, argv + 2);
    return UsageError("unknown command " + first + DidYouMean(Closest(first, CommandNames())), nullptr);
}

} // namespace kvnode
