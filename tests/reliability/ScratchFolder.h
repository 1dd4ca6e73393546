#pragma once
// A scratch folder for the save fault tests, and a way to run a step as
// another process or as the unprivileged user nobody.
#include <gtest/gtest.h>

#include <dirent.h>
#include <grp.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kvtest {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;
constexpr gid_t kUsers = 100;

inline std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteWhole(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> ListDir(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// A folder under /tmp holding the old document at target, removed with
// whatever is left in it.
struct Folder {
    static constexpr char kOld[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CNodeAttDef classtype=\"8_0\" Version=\"1\" />\n";
    static constexpr char kTargetName[] = "library.xml";
    std::string path;
    std::string target;
    Folder()
    {
        char dir[] = "/tmp/kv_save_XXXXXX";
        path = mkdtemp(dir) ? dir : "";
        target = Name(kTargetName);
        WriteWhole(target, kOld);
    }
    ~Folder()
    {
        chmod(path.c_str(), 0700);
        for (const std::string& name : ListDir(path))
            unlink(Name(name).c_str());
        rmdir(path.c_str());
    }
    std::string Name(const std::string& name) const { return path + "/" + name; }
    // names of the library's temporary files, ".<target>.kvsave-<pid>-<n>.tmp"
    std::vector<std::string> Temporaries() const
    {
        std::vector<std::string> temps;
        for (const std::string& name : ListDir(path))
            if (name.rfind(std::string(".") + kTargetName + ".kvsave-", 0) == 0)
                temps.push_back(name);
        return temps;
    }
};

// Runs check in a child process and returns its exit status (-1 when it died).
template <class Check>
int InChild(Check check)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(check());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// the exit status of a child that could not become an ordinary user
constexpr int kNotOrdinary = 77;

// Runs check as an ordinary user: as nobody when the test runs as root
// (which permission bits do not stop), else as the user running it.
template <class Check>
int AsOrdinaryUser(Check check)
{
    return InChild([&] {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNoGroup) != 0 || setuid(kNobody) != 0))
            return kNotOrdinary;
        return check();
    });
}

} // namespace kvtest
