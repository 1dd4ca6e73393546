#pragma once
// Paths as the configuration sees them: absolute, '/' between folders, "."
// and ".." worked out by their text (as the shell's cd does, not following
// links), so that a file is found under the folder of a kvnode.toml whatever
// way it was named on the command line.
#include <string>

namespace kvnode {

// path made absolute against the current folder; on Windows '\' is written '/'
std::string AbsolutePath(const std::string& path);
// the folder an absolute path is in; empty for a root ("/", "C:/")
std::string ParentFolder(const std::string& absolute);
// folder + "/" + name, without doubling the root's '/'
std::string JoinPath(const std::string& folder, const std::string& name);
// path below folder, as "a/b.xml"; false when it is not below it
bool PathBelow(const std::string& folder, const std::string& path, std::string& relative);
// absolute path from folder: "a/b.xml", "../c/d.xml"; path itself when they share no root
std::string RelativePath(const std::string& folder, const std::string& path);
// an absolute path as a message shows it: relative to the current folder when below it
std::string ShownPath(const std::string& absolute);
bool IsRegularFile(const std::string& path);

} // namespace kvnode
