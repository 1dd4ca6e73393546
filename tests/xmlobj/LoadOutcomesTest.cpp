// Every document in data/xmlobj/loads.txt, loaded from memory: it loads, with
// the first warning given, or fails with the error given at its place.
#include "support/DescTestUtil.h"

using namespace kvtest;

namespace {

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
