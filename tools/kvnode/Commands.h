#pragma once
// The commands of kvnode, each over its parsed command line, writing to out
// and err and returning the exit status.
#include <ostream>
#include <string>
#include <vector>

namespace kvnode {

enum ExitStatus { kExitClean = 0, kExitFindings = 1, kExitFailure = 2 };

struct Options {
    std::vector<std::string> files;
    bool json = false;   // check
    bool strict = false; // check: warnings fail too
    bool hasNode = false; // show, graph: only the node type named node
    std::string node;
    std::string output;   // fmt: -o
    std::string encoding; // fmt: --encoding
};

int RunCheck(const Options& options, std::ostream& out, std::ostream& err);
int RunShow(const Options& options, std::ostream& out, std::ostream& err);
int RunGraph(const Options& options, std::ostream& out, std::ostream& err);
int RunFmt(const Options& options, std::ostream& out, std::ostream& err);
int RunSchema(const Options& options, std::ostream& out, std::ostream& err);

} // namespace kvnode
