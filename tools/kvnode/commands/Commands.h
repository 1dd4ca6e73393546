#pragma once
// The commands of kvnode, each over its parsed command line, writing to out
// and err and returning the exit status.
#include <xmlobj/CXMLDocument.h>

#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

enum ExitStatus { kExitClean = 0, kExitFindings = 1, kExitFailure = 2 };

struct Options {
    std::vector<std::string> files;
    bool terminal = false; // standard output is a terminal

    // check
    bool json = false;   // the findings as one JSON array, as before --format
    bool strict = false; // every warning is an error
    bool quiet = false;  // errors only, no summary
    std::string format;  // text (default), json, sarif, github
    std::string color;   // auto (default), always, never
    // rule ids, each entry one id or several separated by commas
    std::vector<std::string> select, ignore, error, warning;
    std::string config;     // the kvnode.toml to use; empty: the nearest one above each file
    bool isolated = false;  // no kvnode.toml at all
    bool statistics = false; // a count per rule instead of the findings
    bool fix = false;        // apply the safe fixes
    bool unsafeFixes = false; // ... and the unsafe ones
    std::string baseline;      // report only findings this baseline does not hold
    std::string writeBaseline; // write the findings as a baseline
    bool addSuppressions = false; // a kvnode: ignore comment for each element with findings

    // explain
    bool list = false; // every rule, a line each

    // show, graph: only the node type named node
    bool hasNode = false;
    std::string node;
    // graph
    std::string rankdir; // TB or LR; empty: chosen by the graph's shape
    bool svg = false;    // run Graphviz and print SVG

    // fmt
    std::string output;   // -o
    std::string encoding; // --encoding
    bool check = false;   // name the files that would change
    bool diff = false;    // print what would change (check: with --fix)
    bool inPlace = false; // -i
};

// Reads file once and loads doc from what was read (kept in bytes), or
// reports why it cannot on err, with the line it stopped at.
bool LoadInput(const std::string& file, CXMLDocument& doc, std::string& bytes, std::ostream& err);
bool LoadInput(const std::string& file, CXMLDocument& doc, std::ostream& err);

int RunCheck(const Options& options, std::ostream& out, std::ostream& err);
int RunShow(const Options& options, std::ostream& out, std::ostream& err);
int RunGraph(const Options& options, std::ostream& out, std::ostream& err);
int RunFmt(const Options& options, std::ostream& out, std::ostream& err);
int RunSchema(const Options& options, std::ostream& out, std::ostream& err);
int RunExplain(const Options& options, std::ostream& out, std::ostream& err);
// the language server, over standard input and output
int RunLsp(const Options& options, std::ostream& out, std::ostream& err);

} // namespace kvnode
