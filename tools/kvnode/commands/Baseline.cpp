#include "commands/Baseline.h"

#include "config/FilePath.h"
#include "model/Input.h"
#include "model/Model.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace kvnode {

namespace {

constexpr int kBaselineVersion = 1;
const char* const kFields[] = {"file", "rule", "path", "attribute", "subject"};
constexpr char kApart = '\x1F'; // between the parts of a key: no name holds it

std::vector<std::string> Parts(const std::string& key)
{
    std::vector<std::string> parts;
    for (size_t start = 0; start <= key.size();) {
        const size_t end = std::min(key.find(kApart, start), key.size());
        parts.push_back(key.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

} // namespace

bool Baselined(const Finding& f) { return f.rule != kXmlError && f.rule != kStaleBaseline; }

Baseline::Baseline(const std::string& path) : m_path(AbsolutePath(path)), m_folder(ParentFolder(m_path)) {}

std::string Baseline::Relative(const std::string& file) const
{
    if (IsStdin(file))
        return kStdinName;
    const std::string relative = RelativePath(m_folder, AbsolutePath(file));
#ifdef _WIN32 // file names come in the code page; the baseline is UTF-8 everywhere
    return Utf8(relative.data(), relative.size());
#else
    return relative;
#endif
}

std::string Baseline::KeyOf(const Finding& f)
{
    return std::string(f.rule) + kApart + f.path + kApart + f.attribute + kApart + f.subject;
}

Baseline::Counts* Baseline::CountsOf(const std::string& file) const
{
    if (m_last.first != file || !m_last.second) {
        const auto found = m_files.find(Relative(file));
        m_last = {file, found == m_files.end() ? nullptr : &found->second};
    }
    return m_last.second;
}

bool Baseline::Read(bool allowMissing, std::string& problem)
{
    const std::string shown = ShownPath(m_path);
    if (allowMissing && !IsRegularFile(m_path))
        return true;
    std::string bytes;
    XmlDiagnostic error;
    if (!ReadInput(m_path, bytes, error)) {
        problem = shown + ": error: " + error.message;
        return false;
    }
    const nlohmann::json json = nlohmann::json::parse(bytes, nullptr, false);
    const auto wrong = [&](const std::string& why) {
        problem = shown + ": error: " + why;
        return false;
    };
    if (json.is_discarded())
        return wrong("not JSON: no baseline written by kvnode check --write-baseline");
    if (!json.is_object() || json.value("kvnode", "") != "baseline")
        return wrong("no kvnode baseline (\"kvnode\": \"baseline\" is missing)");
    if (json.value("version", 0) != kBaselineVersion)
        return wrong("a baseline of version " + json.value("version", nlohmann::json()).dump() +
                     ", which this kvnode does not read (it reads " + std::to_string(kBaselineVersion) + ")");
    const auto list = json.find("findings"); // by reference: value() would copy every finding
    if (list == json.end() || !list->is_array())
        return wrong("\"findings\" is not a list");
    const nlohmann::json& findings = *list;
    for (size_t i = 0; i < findings.size(); ++i) {
        const nlohmann::json& entry = findings[i];
        std::string values[5];
        for (size_t k = 0; k < 5; ++k) {
            const auto field = entry.is_object() ? entry.find(kFields[k]) : entry.end();
            if (k < 2 && (field == entry.end() || !field->is_string()))
                return wrong("finding " + std::to_string(i + 1) + " has no \"" + kFields[k] + "\"");
            if (field != entry.end() && field->is_string())
                values[k] = field->get<std::string>();
        }
        ++m_files[values[0]][values[1] + kApart + values[2] + kApart + values[3] + kApart + values[4]];
    }
    return true;
}

bool Baseline::Holds(const std::string& file, const Finding& f) const
{
    Counts* counts = Baselined(f) ? CountsOf(file) : nullptr;
    const auto it = counts ? counts->find(KeyOf(f)) : Counts::iterator();
    return counts && it != counts->end() && it->second > 0;
}

bool Baseline::Take(const std::string& file, const Finding& f)
{
    Counts* counts = Baselined(f) ? CountsOf(file) : nullptr;
    const auto it = counts ? counts->find(KeyOf(f)) : Counts::iterator();
    if (!counts || it == counts->end() || it->second == 0)
        return false;
    --it->second;
    return true;
}

std::vector<Finding> Baseline::Gone(const std::string& file, const std::string& name) const
{
    std::vector<Finding> gone;
    const Counts* counts = CountsOf(file);
    if (!counts)
        return gone;
    std::vector<std::pair<std::string, int>> left(counts->begin(), counts->end());
    std::sort(left.begin(), left.end());
    for (const auto& [key, count] : left) {
        const std::vector<std::string> p = Parts(key); // rule, path, attribute, subject
        const std::string what = p[0] + (p[1].empty() ? "" : " at " + p[1]) +
                                 (p[2].empty() ? "" : " \"" + p[2] + "\"") + (p[3].empty() ? "" : " (\"" + p[3] + "\")");
        for (int n = 0; n < count; ++n)
            gone.push_back(Finding{name, 0, 0, kStaleBaseline,
                                   "the baseline holds " + what + ", which the file no longer has"});
    }
    return gone;
}

bool Baseline::Write(const std::vector<std::pair<std::string, std::vector<Finding>>>& checked, size_t& written,
                     std::string& problem)
{
    std::vector<std::pair<std::string, std::string>> entries; // file, key
    std::unordered_map<std::string, bool> now;               // the files checked
    for (const auto& [file, findings] : checked) {
        const std::string relative = Relative(file);
        now[relative] = true;
        for (const Finding& f : findings)
            if (Baselined(f))
                entries.emplace_back(relative, KeyOf(f));
    }
    // what the file held of files not checked now, while they are there
    for (const auto& [file, counts] : m_files)
        if (!now.count(file) && IsRegularFile(JoinPath(m_folder, file)))
            for (const auto& [key, count] : counts)
                for (int n = 0; n < count; ++n)
                    entries.emplace_back(file, key);
    std::sort(entries.begin(), entries.end());
    std::string text = "{\"kvnode\": \"baseline\", \"version\": " + std::to_string(kBaselineVersion) +
                       ", \"findings\": [";
    for (const auto& [file, key] : entries) {
        std::vector<std::string> values = Parts(key);
        values.insert(values.begin(), file);
        nlohmann::ordered_json entry;
        for (size_t k = 0; k < 5; ++k)
            if (k < 2 || !values[k].empty())
                entry[kFields[k]] = values[k];
        text += (text.back() == '[' ? "\n" : ",\n") +
                entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    text += "\n]}\n";
    written = entries.size();
    CXMLDocument writer;
    if (writer.WriteFile(m_path.c_str(), text))
        return true;
    problem = writer.GetErrorText();
    return false;
}

} // namespace kvnode
