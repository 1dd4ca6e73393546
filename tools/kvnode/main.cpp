// kvnode: a node-type author's tool over KvNodeDefine.
#include "cli/Cli.h"

#include <iostream>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv)
{
#ifdef _WIN32
    // documents pass through standard input and output as they are: text
    // mode would add carriage returns (into UTF-16 too) and stop at 0x1A
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    return kvnode::RunCommandLine(argc, argv);
}
