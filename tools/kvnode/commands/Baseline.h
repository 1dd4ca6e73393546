#pragma once
// The findings a library had when it adopted kvnode check, so that CI fails
// only on new ones. A finding is known by its rule, its file (relative to the
// baseline's folder), its element's path by names, its attribute and the part
// of the value it is about; never by its line, so that edits elsewhere in a
// file do not bring it back. A file of the same findings twice holds it twice.
//
// The file is JSON, one finding a line, sorted, for reviews and merges:
//   {"kvnode": "baseline", "version": 1, "findings": [
//    {"file": "nodes/a.xml", "rule": "unresolved-name", "path": "...", "attribute": "planes", "subject": "X"}]}
#include "rules/Lint.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace kvnode {

class Baseline {
public:
    // the baseline at path, to read or write; nothing is read yet
    explicit Baseline(const std::string& path);

    // reads the file; false with "file: error: why" (a file that is missing counts as empty when allowMissing)
    bool Read(bool allowMissing, std::string& problem);
    // whether the baseline holds a finding like f of file (as named on the command line)
    bool Holds(const std::string& file, const Finding& f) const;
    // takes one finding of file (as named on the command line) out of the
    // baseline; false when it holds no more of it
    bool Take(const std::string& file, const Finding& f);
    // what the baseline still holds for file, as findings of the rule stale-baseline
    std::vector<Finding> Gone(const std::string& file, const std::string& name) const;

    // Replaces the entries of the files checked with their findings now (those
    // of other files stay while the files exist) and writes the file
    // atomically; false with "file: error: why".
    bool Write(const std::vector<std::pair<std::string, std::vector<Finding>>>& checked, size_t& written,
               std::string& problem);

private:
    // a finding within its file: rule, path, attribute and subject, joined
    using Counts = std::unordered_map<std::string, int>;
    // file as the baseline names it: relative to its folder, '/' between folders
    std::string Relative(const std::string& file) const;
    static std::string KeyOf(const Finding& f);
    // the findings of file (as named on the command line) the baseline holds
    Counts* CountsOf(const std::string& file) const;

    std::string m_path, m_folder;
    mutable std::unordered_map<std::string, Counts> m_files; // by the file's name in the baseline
    mutable std::pair<std::string, Counts*> m_last;            // a file's findings come together
};

// whether a baseline may hold f: never a file that cannot be read
bool Baselined(const Finding& f);

} // namespace kvnode
