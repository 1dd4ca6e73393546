#pragma once
// Which kvnode.toml applies to a file: the nearest one in its folder or a
// folder above it (as ruff finds its own), the one --config names, or none
// with --isolated. Standard input is taken to be in the current folder.
#include "commands/Commands.h"
#include "config/ConfigFile.h"

#include <map>
#include <memory>
#include <string>

namespace kvnode {

class ConfigFinder {
public:
    explicit ConfigFinder(const Options& options);

    // the configuration of file (as named on the command line), null when
    // none applies; false with the problem when the one that applies is wrong
    bool Find(const std::string& file, const ConfigFile*& config, std::string& problem);

private:
    bool Load(const std::string& path, std::shared_ptr<ConfigFile>& config, std::string& problem);

    const Options& m_options;
    std::map<std::string, std::shared_ptr<ConfigFile>> m_byFolder; // null: none applies there
};

} // namespace kvnode
