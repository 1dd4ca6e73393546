#pragma once
// Shared by the XML object library tests: files in a scratch folder, and
// documents loaded from literal text.
#include <KvNodeDefine/CBaseDesc.h>
#include <KvNodeDefine/CNodeAttDef.h>
#include <xmlobj/CXMLDocument.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace xmltest {

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvxml.XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    const std::filesystem::path& path() const { return m_path; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_path))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline bool LoadText(CXMLDocument& doc, const std::string& text) { return doc.LoadXml(text.data(), text.size()); }

inline std::string SaveText(const CXMLDocument& doc)
{
    std::string out;
    EXPECT_TRUE(doc.SaveXml(out)) << doc.GetErrorText();
    return out;
}

inline std::string Att(const CXMLBase* object, const char* name)
{
    CString value;
    object->GetAttText(name, value);
    return value.GetString();
}

} // namespace xmltest
