#pragma once
// The kvnode binary as a user runs it.
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kvtest {

// runs kvnode with args (already quoted where needed); stdout and stderr together
inline int Kvnode(const std::string& args, std::string& output)
{
    const std::string command = std::string(KVNODE_EXE) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    output.clear();
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        output.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace kvtest
