// Every document in data/xmlobj/loads.txt, loaded from memory: it loads, with
// the first warning given, or fails with the error given at its place.
#include "support/DescTestUtil.h"

#include <cstdlib>

using namespace kvtest;

namespace {

// the bytes of a text written with C escapes: \n \r \t \\ \xHH
std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 == s.size()) {
            out += s[i];
            continue;
        }
        const char c = s[++i];
        if (c == 'x') {
            out += static_cast<char>(std::strtol(s.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

// "<memory>:1:2: message" without the file
std::string Placed(const XmlDiagnostic& d) { return d.Format().substr(std::string("<memory>:").size()); }

TEST(LoadOutcomes, AsTheTableSays)
{
    std::ifstream table(KV_TEST_DATA "/xmlobj/loads.txt");
    ASSERT_TRUE(table) << "no loads.txt";
    std::string line;
    int number = 0, cases = 0;
    while (std::getline(table, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        const size_t arrow = line.rfind(" => ");
        ASSERT_NE(arrow, std::string::npos) << "loads.txt:" << number << ": no \" => \"";
        const std::string text = Unescape(line.substr(0, arrow)), expected = Unescape(line.substr(arrow + 4));
        CXMLDocument doc;
        std::string got;
        if (LoadText(doc, text))
            got = doc.GetWarnings().empty() ? "loads" : "loads, warning: " + Placed(doc.GetWarnings()[0]);
        else
            got = Placed(doc.GetError());
        EXPECT_EQ(got.compare(0, expected.size(), expected), 0) << "loads.txt:" << number << ": " << line << "\n"
                                                                 << "gives " << got;
        ++cases;
    }
    EXPECT_GT(cases, 50);
}

} // namespace
