#pragma once
// What check does with each file named on its command line: the options
// that the kvnode.toml applying to it and the command line give together,
// or nothing for a file the configuration excludes.
#include "commands/Commands.h"

#include <string>
#include <vector>

namespace kvnode {

struct FileSettings {
    std::string file; // as named on the command line
    Options options;  // the command line's over the configuration's
};

struct RunSettings {
    std::vector<FileSettings> files; // those not excluded, in command-line order
    // the output format, one for the run: the command line's, or that of the
    // configuration of the first file named (empty: text)
    std::string format;
};

// false with the problem (a configuration that cannot be read or is wrong)
bool Settle(const Options& commandLine, RunSettings& settings, std::string& problem);

} // namespace kvnode
