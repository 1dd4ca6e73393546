#pragma once
// The command line of kvnode: finds the command argv names, parses its
// options and runs it; help, version and completion words too.

namespace kvnode {

// argv as main receives it; returns the exit status
int RunCommandLine(int argc, char** argv);

} // namespace kvnode
