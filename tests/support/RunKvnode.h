#pragma once
// Runs the kvnode binary as a user does, through the shell.
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kvtest {

// runs command through the shell; what it prints in output; the exit status, or -1
inline int Run(const std::string& command, std::string& output)
{
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

// `env kvnode args`, args quoted as the shell wants them; stdout and, unless
// told otherwise, stderr together in output; the exit status, or -1
inline int Kvnode(const std::string& args, std::string& output, const std::string& env = "",
                  bool withStderr = true)
{
    return Run(env + " " + KVNODE_EXE + " " + args + (withStderr ? " 2>&1" : " 2>/dev/null"), output);
}

} // namespace kvtest
