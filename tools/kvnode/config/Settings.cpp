#include "config/Settings.h"

#include "config/ConfigFinder.h"
#include "config/FilePath.h"
#include "model/Input.h"

namespace kvnode {

bool Settle(const Options& commandLine, RunSettings& settings, std::string& problem)
{
    settings = RunSettings();
    settings.format = commandLine.format;
    ConfigFinder finder(commandLine);
    for (size_t i = 0; i < commandLine.files.size(); ++i) {
        const std::string& file = commandLine.files[i];
        const ConfigFile* config = nullptr;
        if (!finder.Find(file, config, problem))
            return false;
        if (i == 0 && config && settings.format.empty() && !commandLine.json)
            settings.format = config->Format();
        const std::string absolute = IsStdin(file) ? file : AbsolutePath(file);
        if (config && config->Excludes(absolute))
            continue;
        settings.files.push_back(FileSettings{file, config ? config->Apply(commandLine, absolute) : commandLine});
    }
    return true;
}

} // namespace kvnode
