#include "config/ConfigFinder.h"

#include "config/FilePath.h"
#include "model/Input.h"

#include <vector>

namespace kvnode {

ConfigFinder::ConfigFinder(const Options& options) : m_options(options) {}

bool ConfigFinder::Load(const std::string& path, std::shared_ptr<ConfigFile>& config, std::string& problem)
{
    config = std::make_shared<ConfigFile>();
    return config->Load(path, problem);
}

bool ConfigFinder::Find(const std::string& file, const ConfigFile*& config, std::string& problem)
{
    config = nullptr;
    if (m_options.isolated)
        return true;
    if (!m_options.config.empty()) {
        std::shared_ptr<ConfigFile>& named = m_byFolder[std::string()];
        if (!named && !Load(AbsolutePath(m_options.config), named, problem))
            return false;
        config = named.get();
        return true;
    }
    // the folders from the file's up to the nearest that has one, all answered by it
    std::vector<std::string> asked;
    std::shared_ptr<ConfigFile> found;
    for (std::string folder = ParentFolder(AbsolutePath(IsStdin(file) ? "stdin" : file)); !folder.empty();
         folder = ParentFolder(folder)) {
        const auto known = m_byFolder.find(folder);
        if (known != m_byFolder.end()) {
            found = known->second;
            break;
        }
        asked.push_back(folder);
        const std::string path = JoinPath(folder, ConfigFile::kFileName);
        if (IsRegularFile(path)) {
            if (!Load(path, found, problem))
                return false;
            break;
        }
    }
    for (const std::string& folder : asked)
        m_byFolder[folder] = found;
    config = found.get();
    return true;
}

} // namespace kvnode
