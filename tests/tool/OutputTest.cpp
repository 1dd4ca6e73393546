// The parts of kvnode's output that the binary cannot reach in a test: the
// terminal, and texts built to test one rule each.
#include "commands/Diff.h"
#include "output/Report.h"
#include "rules/Suppressions.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kvnode;

namespace {

TEST(Output, ColourOnlyWhereItHelps)
{
    const struct {
        const char* mode;
        bool terminal;
        const char* noColor;
        const char* term;
        bool color;
    } cases[] = {
        {"auto", true, nullptr, "xterm", true},   {"", true, nullptr, nullptr, true},
        {"auto", false, nullptr, "xterm", false}, {"auto", true, "1", "xterm", false},
        {"auto", true, "", "xterm", true}, // an empty NO_COLOR does not count
        {"auto", true, nullptr, "dumb", false},   {"always", false, "1", "dumb", true},
        {"never", true, nullptr, "xterm", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UseColor(c.mode, c.terminal, c.noColor, c.term), c.color)
            << c.mode << " " << c.terminal << " " << (c.noColor ? c.noColor : "-") << " " << (c.term ? c.term : "-");
}

Report Findings(size_t errors, size_t warnings, size_t files)
{
    Report r;
    r.files.resize(files);
    for (size_t i = 0; i < errors + warnings; ++i)
        r.diagnostics.push_back(
            Diagnostic{Finding{"f", 1, 1, "plate-planes", "m"}, i < errors ? Severity::Error : Severity::Warning, 0});
    return r;
}

TEST(Output, SummaryCountsInWords)
{
    EXPECT_EQ(SummaryLine(Findings(0, 0, 3)), "");
    EXPECT_EQ(SummaryLine(Findings(1, 0, 1)), "1 error in 1 file");
    EXPECT_EQ(SummaryLine(Findings(2, 1, 3)), "2 errors and 1 warning in 3 files");
    EXPECT_EQ(SummaryLine(Findings(0, 2, 1)), "2 warnings in 1 file");
}

// the caret stands under the column's character as the terminal shows the
// line: tabs stay tabs, Chinese characters take two columns
TEST(Output, CaretUnderTheColumn)
{
    const struct {
        std::string line;
        int column;
        std::string caret;
    } cases[] = {
        {"<a/>", 1, "      | ^\n"},
        {"    <CPlateDesc/>", 5, "      |     ^\n"},
        {"\t\t<b/>", 3, "      | \t\t^\n"},
        {"<a n=\"梁柱\"><b/>", 11, "      |             ^\n"}, // 梁柱 are columns 7 and 8, four wide
        {"<a>", 9, "      |    ^\n"},                        // past the end: after the last character
    };
    for (const auto& c : cases) {
        Report r;
        r.files.push_back(CheckedFile{"f.xml", SourceText("<?xml version=\"1.0\"?>\n" + c.line + "\n")});
        r.diagnostics.push_back(Diagnostic{Finding{"f.xml", 2, c.column, "unused-varitem", "m"}, Severity::Warning, 0});
        std::ostringstream out;
        OutputStyle style;
        style.summary = false;
        WriteText(r, style, out);
        const std::string expected = "f.xml:2:" + std::to_string(c.column) + ": warning: m [unused-varitem]\n    2 | " +
                                     c.line + "\n" + c.caret;
        EXPECT_EQ(out.str(), expected);
    }
}

TEST(Output, SourceLinesInUtf8)
{
    // 梁 in GBK is C1 BA
    const SourceText gbk("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n<a n=\"\xC1\xBA\"/>\r\n");
    EXPECT_EQ(gbk.LineCount(), 2);
    EXPECT_EQ(gbk.Line(2), "<a n=\"梁\"/>");
    EXPECT_EQ(gbk.Line(3), "");
    const SourceText bom("\xEF\xBB\xBF<a/>");
    EXPECT_EQ(bom.Line(1), "<a/>");
}

TEST(Output, SuppressionsFindTheElementThatFollows)
{
    const std::vector<Suppression> found = FindSuppressions("<a n=\"梁\"><!-- kvnode: ignore a,  b --> <b/>\n"
                                                            "<!-- kvnode: ignore-file --><!-- kvnode:ignore -->\n"
                                                            "<?pi <c/>?><!-- x --></a>");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].problem, "kvnode: ignore names no rule \"a\"");
    EXPECT_EQ(std::make_pair(found[0].line, found[0].column), std::make_pair(1, 10)); // 梁 is one character
    EXPECT_EQ(std::make_pair(found[0].targetLine, found[0].targetColumn), std::make_pair(1, 40));
    EXPECT_TRUE(found[1].wholeFile);
    EXPECT_TRUE(found[1].rules.empty());
    EXPECT_EQ(found[1].problem, "");
    EXPECT_EQ(found[2].targetLine, 0) << "nothing follows but a processing instruction and an end tag";
}

TEST(Output, UnifiedDiff)
{
    const struct {
        std::string before, after, diff;
    } cases[] = {
        {"a\nb\n", "a\nb\n", ""},
        {"a\nb\nc\n", "a\nB\nc\n", "@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n"},
        {"", "a\n", "@@ -0,0 +1 @@\n+a\n"},
        {"a\n", "", "@@ -1 +0,0 @@\n-a\n"},
        {"a\nb", "a\nb\n", "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
        // changes further apart than twice the context make two hunks
        {"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n", "x\n2\n3\n4\n5\n6\n7\n8\n9\ny\n",
         "@@ -1,4 +1,4 @@\n-1\n+x\n 2\n 3\n 4\n@@ -7,4 +7,4 @@\n 7\n 8\n 9\n-10\n+y\n"},
        {"1\n2\n3\n4\n5\n6\n7\n", "x\n2\n3\n4\n5\n6\ny\n",
         "@@ -1,7 +1,7 @@\n-1\n+x\n 2\n 3\n 4\n 5\n 6\n-7\n+y\n"},
    };
    for (const auto& c : cases) {
        const std::string header = c.diff.empty() ? "" : "--- f\n+++ f\n";
        EXPECT_EQ(UnifiedDiff(c.before, c.after, "f"), header + c.diff) << c.before << "->" << c.after;
    }
}

} // namespace
