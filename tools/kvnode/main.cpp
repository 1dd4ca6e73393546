// kvnode: a node-type author's tool over KvNodeDefine.
#include "Commands.h"
#include "Lint.h"

#include <iostream>
#include <sstream>

namespace {

using namespace kvnode;

struct OptionDef {
    const char* name;  // "--node"
    const char* alias; // "-o", or null
    bool Options::*flag;         // set when the option is given, or null
    std::string Options::*value; // where its argument goes; null for a flag
};

struct Command {
    const char* name;
    int (*run)(const Options&, std::ostream&, std::ostream&);
    const char* usage;
    const char* summary;
    std::vector<OptionDef> options;
    bool manyFiles;
    std::string (*details)();
    bool takesFiles = true;
};

std::string CheckDetails()
{
    std::ostringstream s;
    s << "Rules (severity, id):\n";
    for (const Rule& r : Rules())
        s << "  " << (r.severity == Severity::Error ? "error  " : "warning") << "  " << r.id << "\n      " << r.summary
          << "\n";
    s << "\nExit status: 0 no findings (or only warnings without --strict), 1 an error\n"
         "(or any finding with --strict), 2 a file that cannot be read or parsed.\n";
    return s.str();
}

std::string NoDetails() { return std::string(); }

const Command kCommands[] = {
    {"check", RunCheck, "kvnode check [--json] [--strict] FILE...",
     "Loads each file and lints it. Findings are printed one a line as\n"
     "file:line:column: error|warning: message [rule-id].\n\n"
     "  --json     print the findings as one JSON array instead\n"
     "  --strict   warnings fail the check too\n",
     {{"--json", nullptr, &Options::json, nullptr}, {"--strict", nullptr, &Options::strict, nullptr}}, true,
     CheckDetails},
    {"show", RunShow, "kvnode show [--node NAME] FILE",
     "Prints the tree, one descriptor a line, indented, with its class, name,\n"
     "show name and the fields that matter for its kind and construction type.\n\n"
     "  --node NAME   only the node type of that name\n",
     {{"--node", nullptr, &Options::hasNode, &Options::node}}, false, NoDetails},
    {"graph", RunGraph, "kvnode graph [--node NAME] FILE",
     "Prints which descriptor is built from or placed by which, in Graphviz DOT:\n"
     "one cluster per node type, nodes coloured by kind, edges labelled by the\n"
     "field (dashed: what a descriptor owns; red: a name that leads nowhere).\n"
     "Draw it with: kvnode graph FILE | dot -Tsvg > graph.svg\n\n"
     "  --node NAME   only the node type of that name\n",
     {{"--node", nullptr, &Options::hasNode, &Options::node}}, false, NoDetails},
    {"fmt", RunFmt, "kvnode fmt [-o OUT] [--encoding utf-8|gbk] FILE",
     "Loads the file and saves it again through the descriptors: a normalised\n"
     "copy, in the encoding it was read in unless told otherwise.\n\n"
     "  -o, --output OUT       write to OUT (replaced atomically) instead of standard output\n"
     "  --encoding utf-8|gbk   the encoding to write\n",
     {{"--output", "-o", nullptr, &Options::output}, {"--encoding", nullptr, nullptr, &Options::encoding}}, false,
     NoDetails},
    {"schema", RunSchema, "kvnode schema",
     "Prints an XML Schema (XSD 1.0) of the format, made from the classes' own\n"
     "attribute and enumeration tables, for XML editors and xmllint.\n",
     {}, false, NoDetails, false},
};

void ToolHelp(std::ostream& out)
{
    out << "kvnode " << KVNODE_VERSION << ": check, show and normalise node definition documents\n\n"
        << "Usage: kvnode COMMAND [OPTIONS] FILE...\n       kvnode --help | --version\n\nCommands:\n";
    for (const Command& c : kCommands)
        out << "  " << c.usage << "\n";
    out << "\nRun 'kvnode COMMAND --help' for what a command does and its options.\n";
}

void CommandHelp(const Command& c, std::ostream& out)
{
    out << "Usage: " << c.usage << "\n\n" << c.summary;
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
            return UsageError("unknown option " + arg + " for " + c.name, c.name);
        if (o->value && !inlineValue) {
            if (i + 1 == argc)
                return UsageError(arg + " needs a value", c.name);
            value = argv[++i];
        } else if (!o->value && inlineValue) {
            return UsageError(arg + " takes no value", c.name);
        }
        if (o->flag)
            options.*(o->flag) = true;
        if (o->value)
            options.*(o->value) = value;
    }
    if (!c.takesFiles && !options.files.empty())
        return UsageError(std::string(c.name) + " takes no file", c.name);
    if (c.takesFiles && options.files.empty())
        return UsageError(std::string(c.name) + " needs a file", c.name);
    if (!c.manyFiles && options.files.size() > 1)
        return UsageError(std::string(c.name) + " takes one file", c.name);
    return c.run(options, std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    if (argc < 2) {
        ToolHelp(std::cerr);
        return kExitFailure;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        ToolHelp(std::cout);
        return kExitClean;
    }
    if (first == "--version") {
        std::cout << "kvnode " << KVNODE_VERSION << "\n";
        return kExitClean;
    }
    for (const Command& c : kCommands)
        if (first == c.name)
            return RunCommand(c, argc - 2, argv + 2);
    return UsageError("unknown command " + first, nullptr);
}
