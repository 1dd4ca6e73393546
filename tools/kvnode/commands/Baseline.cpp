#include "commands/Baseline.h"

#include "config/FilePath.h"
#include "model/Input.h"
#include "model/Model.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>

namespace kvnode {

namespace {

constexpr int kBaselineVersion = 1;
const char* const kFields[] = {"file", "rule", "path", "attribute", "subject"};

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

Baseline::Key Baseline::KeyOf(const std::string& relative, const Finding& f) const
{
    return Key{relative, std::string(f.rule), f.path, f.attribute, f.subject};
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
    const nlohmann::json& findings = json.value("findings", nlohmann::json());
    if (!findings.is_array())
        return wrong("\"findings\" is not a list");
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
        ++m_counts[Key{values[0], values[1], values[2], values[3], values[4]}];
    }
    return true;
}

bool Baseline::Holds(const std::string& file, const Finding& f) const
{
    const auto it = Baselined(f) ? m_counts.find(KeyOf(Relative(file), f)) : m_counts.end();
    return it != m_counts.end() && it->second > 0;
}

bool Baseline::Take(const std::string& file, const Finding& f)
{
    if (!Holds(file, f))
        return false;
    --m_counts[KeyOf(Relative(file), f)];
    return true;
}

std::vector<Finding> Baseline::Gone(const std::string& file, const std::string& name) const
{
    std::vector<Finding> gone;
    const std::string relative = Relative(file);
    for (auto it = m_counts.lower_bound(Key{relative, "", "", "", ""});
         it != m_counts.end() && std::get<0>(it->first) == relative; ++it) {
        const auto& [ignored, rule, path, attribute, subject] = it->first;
        const std::string what = rule + (path.empty() ? "" : " at " + path) +
                                 (attribute.empty() ? "" : " \"" + attribute + "\"") +
                                 (subject.empty() ? "" : " (\"" + subject + "\")");
        for (int n = 0; n < it->second; ++n)
            gone.push_back(Finding{name, 0, 0, kStaleBaseline,
                                   "the baseline holds " + what + ", which the file no longer has"});
    }
    return gone;
}

bool Baseline::Write(const std::vector<std::pair<std::string, std::vector<Finding>>>& checked, size_t& written,
                     std::string& problem)
{
    std::multiset<Key> keys;
    std::set<std::string> files;
    for (const auto& [file, findings] : checked) {
        const std::string relative = Relative(file);
        files.insert(relative);
        for (const Finding& f : findings)
            if (Baselined(f))
                keys.insert(KeyOf(relative, f));
    }
    // what the file held of files not checked now, while they are there
    for (const auto& [key, count] : m_counts) {
        const std::string& file = std::get<0>(key);
        if (!files.count(file) && IsRegularFile(JoinPath(m_folder, file)))
            for (int n = 0; n < count; ++n)
                keys.insert(key);
    }
    std::string text = "{\"kvnode\": \"baseline\", \"version\": " + std::to_string(kBaselineVersion) +
                       ", \"findings\": [";
    for (const Key& key : keys) {
        const std::string values[5] = {std::get<0>(key), std::get<1>(key), std::get<2>(key), std::get<3>(key),
                                       std::get<4>(key)};
        nlohmann::ordered_json entry;
        for (size_t k = 0; k < 5; ++k)
            if (k < 2 || !values[k].empty())
                entry[kFields[k]] = values[k];
        text += (text.back() == '[' ? "\n" : ",\n") +
                entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    }
    text += "\n]}\n";
    written = keys.size();
    CXMLDocument writer;
    if (writer.WriteFile(m_path.c_str(), text))
        return true;
    problem = writer.GetErrorText();
    return false;
}

} // namespace kvnode
