#pragma once
// tests/data/tool/findings.txt: every finding kvnode check gives on each file
// under tests/data/tool/, in order, one a line:
//   FILE LINE:COLUMN RULE PART-OF-THE-MESSAGE
// A file's findings must be exactly those listed for it. KV_UPDATE_EXPECTED=1
// rewrites the places (LINE:COLUMN) from what check gives when the rules and
// messages still match, to be reviewed as a diff.
#include "support/DescTestUtil.h"

#include <map>
#include <regex>

namespace kvtest {

struct ExpectedFinding {
    std::string place; // "29:5"
    std::string rule;
    std::string text; // a part of the message
    size_t row;       // of the table, for the update
};

struct FindingsTable {
    std::vector<std::string> rows;
    std::map<std::string, std::vector<ExpectedFinding>> byFile; // in file order

    static std::string Path() { return std::string(KV_TEST_DATA) + "/tool/findings.txt"; }

    static FindingsTable Read()
    {
        FindingsTable t;
        std::istringstream in(ReadFile(Path()));
        std::string line;
        while (std::getline(in, line)) {
            t.rows.push_back(line);
            if (line.empty() || line[0] == '#')
                continue;
            std::istringstream fields(line);
            std::string file;
            ExpectedFinding e;
            fields >> file >> e.place >> e.rule;
            std::getline(fields >> std::ws, e.text);
            e.text = Unescape(e.text);
            e.row = t.rows.size() - 1;
            t.byFile[file].push_back(e);
        }
        return t;
    }

    void Write() const
    {
        std::string text;
        for (const std::string& row : rows)
            text += row + "\n";
        WriteFile(Path(), text);
    }
};

struct ActualFinding {
    std::string place, rule, message;
};

// the findings of check's text output: "file:line:column: severity: message [rule]"
inline std::vector<ActualFinding> ParseFindings(const std::string& output)
{
    static const std::regex finding(R"(^.*?:(\d+:\d+): (?:error|warning): (.*) \[([a-z0-9-]+)\]$)");
    std::vector<ActualFinding> found;
    std::istringstream in(output);
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_match(line, m, finding))
            found.push_back({m[1], m[3], m[2]});
    return found;
}

// Compares one file's findings with the table's, updating the places in the
// table when asked to.
inline void CompareFindings(const std::string& file, const std::vector<ExpectedFinding>& expected,
                            const std::vector<ActualFinding>& actual, FindingsTable& table)
{
    SCOPED_TRACE(file);
    const bool update = std::getenv("KV_UPDATE_EXPECTED") != nullptr;
    EXPECT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        if (i >= actual.size()) {
            ADD_FAILURE() << "missing: " << expected[i].place << " " << expected[i].rule << " " << expected[i].text;
            continue;
        }
        const ActualFinding& a = actual[i];
        if (i >= expected.size()) {
            ADD_FAILURE() << "not expected: " << a.place << " [" << a.rule << "] " << a.message;
            continue;
        }
        const ExpectedFinding& e = expected[i];
        const bool same = a.rule == e.rule && a.message.find(e.text) != std::string::npos;
        EXPECT_TRUE(same) << "expected [" << e.rule << "] " << e.text << "\n     got [" << a.rule << "] "
                          << a.message;
        if (same && update && a.place != e.place) {
            std::string& row = table.rows[e.row];
            row.replace(row.find(e.place), e.place.size(), a.place);
        } else {
            EXPECT_EQ(a.place, e.place) << "[" << a.rule << "] " << a.message;
        }
    }
}

} // namespace kvtest
