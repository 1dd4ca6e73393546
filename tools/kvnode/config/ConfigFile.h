#pragma once
// One kvnode.toml: the check controls of the command line, written once for
// the files below its folder, plus what only a file can say:
//
//   select = ["unresolved-name", "plate-planes"]   # also ignore, error, warning
//   strict = true
//   format = "github"
//   exclude = ["vendor", "nodes/old/*.xml"]
//   [per-file-ignores]
//   "generated/**" = ["unused-varitem"]
//
// Globs are PathPatterns, relative to the folder of the file. The command
// line wins: its --select replaces select, its --ignore adds to ignore, its
// --error and --warning decide the rules they name, --strict turns strict on.
#include "commands/Commands.h"
#include "config/PathPattern.h"

#include <string>
#include <vector>

namespace kvnode {

class ConfigFile {
public:
    static constexpr const char* kFileName = "kvnode.toml";

    // Reads and checks the file at the absolute path; false with
    // "file:line:column: error: message" for the first thing wrong in it.
    bool Load(const std::string& path, std::string& problem);

    const std::string& Path() const { return m_path; }
    // the command line's options for file (absolute, or "-") with this file's settings under them
    Options Apply(const Options& commandLine, const std::string& file) const;
    bool Excludes(const std::string& file) const;
    const std::string& Format() const { return m_format; } // empty: not set

private:
    struct PerFileIgnore {
        PathPattern pattern;
        std::vector<std::string> rules;
    };
    // file relative to the folder of this kvnode.toml; false when it is not below it
    bool Relative(const std::string& file, std::string& relative) const;

    std::string m_path, m_folder;
    std::vector<std::string> m_select, m_ignore, m_error, m_warning;
    bool m_strict = false;
    std::string m_format;
    std::vector<PerFileIgnore> m_perFileIgnores;
    std::vector<PathPattern> m_exclude;
};

} // namespace kvnode
