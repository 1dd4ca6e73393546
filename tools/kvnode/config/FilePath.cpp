#include "config/FilePath.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <vector>
#ifdef _WIN32
#include <direct.h>
#define getcwd _getcwd
#else
#include <unistd.h>
#endif

namespace kvnode {

namespace {

std::string CurrentFolder()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), static_cast<int>(buffer.size())))
        buffer.resize(buffer.size() * 2);
    std::string folder = buffer.data();
#ifdef _WIN32
    std::replace(folder.begin(), folder.end(), '\\', '/');
#endif
    return folder;
}

// the length of the root that starts an absolute path: "/", "C:/", "//server/share/"; 0: relative
size_t RootLength(const std::string& path)
{
#ifdef _WIN32
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '/')
        return 3;
    if (path.compare(0, 2, "//") == 0) {
        const size_t server = path.find('/', 2);
        const size_t share = server == std::string::npos ? server : path.find('/', server + 1);
        return share == std::string::npos ? path.size() : share + 1;
    }
#endif
    return !path.empty() && path[0] == '/' ? 1 : 0;
}

bool SameText(const std::string& a, const std::string& b)
{
#ifdef _WIN32 // file names differ in more than letter case there
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
#else
    return a == b;
#endif
}

} // namespace

std::string AbsolutePath(const std::string& path)
{
    std::string full = path;
#ifdef _WIN32
    std::replace(full.begin(), full.end(), '\\', '/');
    if (full.size() >= 2 && full[1] == ':' && (full.size() == 2 || full[2] != '/'))
        full = full.substr(0, 2) + "/" + full.substr(2); // C:x.xml: taken from the drive's root
    else if (!full.empty() && full[0] == '/' && full.compare(0, 2, "//") != 0)
        full = CurrentFolder().substr(0, 2) + full; // \x.xml: the current drive's root
#endif
    if (RootLength(full) == 0)
        full = JoinPath(CurrentFolder(), full);
    const size_t root = RootLength(full);
    std::vector<std::string> parts;
    for (size_t start = root; start <= full.size();) {
        const size_t slash = std::min(full.find('/', start), full.size());
        const std::string part = full.substr(start, slash - start);
        start = slash + 1;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    std::string result = full.substr(0, root);
    for (size_t i = 0; i < parts.size(); ++i)
        result += (i ? "/" : "") + parts[i];
    return result;
}

std::string ParentFolder(const std::string& absolute)
{
    const size_t root = RootLength(absolute);
    if (absolute.size() <= root)
        return std::string();
    const size_t slash = absolute.rfind('/');
    return absolute.substr(0, slash == std::string::npos || slash < root ? root : slash);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool PathBelow(const std::string& folder, const std::string& path, std::string& relative)
{
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    if (path.size() <= prefix.size() || !SameText(path.substr(0, prefix.size()), prefix))
        return false;
    relative = path.substr(prefix.size());
    return true;
}

std::string RelativePath(const std::string& folder, const std::string& path)
{
    const size_t root = RootLength(folder);
    if (root == 0 || !SameText(folder.substr(0, root), path.substr(0, root)))
        return path;
    std::string relative, up;
    std::string common = folder;
    while (!PathBelow(common, path, relative)) {
        if (common.size() <= root)
            return path;
        relative.clear();
        common = ParentFolder(common);
        up += "../";
    }
    return up + relative;
}

std::string ShownPath(const std::string& absolute)
{
    std::string relative;
    return PathBelow(CurrentFolder(), absolute, relative) ? relative : absolute;
}

bool IsRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

} // namespace kvnode
