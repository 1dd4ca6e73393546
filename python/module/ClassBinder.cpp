#include "ClassBinder.h"

#include <cctype>
#include <deque>

namespace py = pybind11;

namespace kvpy {

std::string PythonName(const std::string& cppName)
{
    std::string stem = cppName;
    for (const char* prefix : {"Get", "Find"})
        if (stem.rfind(prefix, 0) == 0 && stem.size() > std::char_traits<char>::length(prefix))
            stem = (prefix[0] == 'F' ? "Find" : "") + stem.substr(std::char_traits<char>::length(prefix));
    const std::string byName = "ByName";
    if (stem.size() > byName.size() && stem.compare(stem.size() - byName.size(), byName.size(), byName) == 0)
        stem.resize(stem.size() - byName.size());
    std::string name;
    for (size_t i = 0; i < stem.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(stem[i]);
        const unsigned char before = i ? static_cast<unsigned char>(stem[i - 1]) : 0;
        if (std::isupper(c) && i && (std::islower(before) || std::isdigit(before)))
            name += '_';
        name += static_cast<char>(std::tolower(c));
    }
    return name;
}

std::string ChildListName(const std::string& getter)
{
    std::string stem = getter;
    for (const std::string suffix : {"DescArray", "Array"})
        if (stem.size() > suffix.size() && stem.compare(stem.size() - suffix.size(), suffix.size(), suffix) == 0) {
            stem.resize(stem.size() - suffix.size());
            break;
        }
    return PythonName(stem) + "s";
}

const char* Typed(const std::string& type, const char* doc)
{
    // pybind11 keeps the pointer: the texts live as long as the module
    static std::deque<std::string> texts;
    return texts.emplace_back(type + ": " + doc).c_str();
}

} // namespace kvpy
