// The parts of kvnode's output that the binary cannot reach in a test: the
// terminal, and texts built to test one rule each.
#include "commands/Diff.h"
#include "output/Report.h"
#include "model/SourceText.h"
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

Summary Findings(size_t errors, size_t warnings, size_t files) { return Summary{files, errors, warnings}; }

TEST(Output, SummaryCountsInWords)
{
    EXPECT_EQ(SummaryLine(Findings(0, 0, 3)), "");
    EXPECT_EQ(SummaryLine(Findings(1, 0, 1)), "1 error in 1 file");
    EXPECT_EQ(SummaryLine(Findings(2, 1, 3)), "2 errors and 1 warning in 3 files");
    EXPECT_EQ(SummaryLine(Findings(0, 2, 1)), "2 warnings in 1 file");
}

// The caret stands under the column's character as the terminal shows the
// line (tabs stay tabs, Chinese characters take two columns), ~~~ under the
// rest of the range; a long line is shown as a window around the caret.
TEST(Output, ExcerptUnderTheRange)
{
    const std::string longLine = std::string(200, 'a') + "<b x=\"bad\"/>" + std::string(200, 'c');
    const struct {
        std::string line;
        int column, endLine, endColumn;
        std::string text, marker;
    } cases[] = {
        {"<a/>", 1, 2, 1, "<a/>", "^"},
        {"    <CPlateDesc/>", 5, 2, 16, "    <CPlateDesc/>", "    ^~~~~~~~~~~"},
        {"\t\t<b/>", 3, 2, 3, "\t\t<b/>", "\t\t^"},
        {"<a n=\"梁柱\"><b/>", 11, 2, 13, "<a n=\"梁柱\"><b/>", "            ^~"}, // 梁柱 are columns 7 and 8
        {"<a n=\"梁柱\"/>", 7, 2, 9, "<a n=\"梁柱\"/>", "      ^~~~"},              // two wide characters under ~
        {"<a>", 9, 2, 9, "<a>", "   ^"},                                           // past the end
        {"<a x=\"1", 6, 4, 2, "<a x=\"1", "     ^~"},                             // the range goes on below
        {"<a x=\"\"/>", 7, 2, 7, "<a x=\"\"/>", "      ^"},                         // an empty value
        {"<a \x1b[2J x=\"1\"/>", 12, 2, 13, "<a \\x1B[2J x=\"1\"/>", "              ^"}, // a control character
        {"<a x=\"\xFF\"/>", 7, 2, 8, "<a x=\"\\xFF\"/>", "      ^~~~"},                 // a byte that is not UTF-8
        // a long line: a window around the caret, cut where the line goes on
        {longLine, 207, 2, 210, "..." + std::string(34, 'a') + "<b x=\"bad\"/>" + std::string(68, 'c') + "...",
         std::string(43, ' ') + "^~~"},
        {std::string(300, 'a') + "<b/>", 302, 2, 303, "..." + std::string(110, 'a') + "<b/>",
         std::string(3 + 110 + 1, ' ') + "^"},
        {"<b/>" + std::string(300, 'c'), 2, 2, 3, "<b/>" + std::string(110, 'c') + "...", " ^"},
    };
    for (const auto& c : cases) {
        const SourceText source("<?xml version=\"1.0\"?>\n" + c.line + "\nnext\n");
        const Excerpt e = MakeExcerpt(source, 2, c.column, c.endLine, c.endColumn);
        EXPECT_EQ(e.line, 2);
        EXPECT_EQ(e.text, c.text) << c.line;
        EXPECT_EQ(e.marker, c.marker) << c.line;
        EXPECT_LE(e.text.size(), 130u);
    }
    EXPECT_EQ(MakeExcerpt(SourceText("<a/>"), 2, 1, 2, 1).line, 0) << "no such line";
}

// a whole finding as text: the place, the message with what the file says escaped, the excerpt
TEST(Output, TextFindingWithItsExcerpt)
{
    const SourceText source("<a>\n  <b name=\"x&#10;y\"/>\n</a>\n");
    const Finding f{"f\x1b.xml", 2, 12, "unresolved-name", "names no plane \"x\ny\""};
    std::ostringstream out;
    const std::unique_ptr<ReportWriter> report = TextWriter(out, OutputStyle());
    report->Add(Diagnostic{f, Severity::Error, MakeExcerpt(source, 2, 12, 2, 19)});
    report->End(Summary{1, 1, 0});
    EXPECT_EQ(out.str(), "f\\x1B.xml:2:12: error: names no plane \"x\\ny\" [unresolved-name]\n"
                         "    2 |   <b name=\"x&#10;y\"/>\n"
                         "      |            ^~~~~~~\n"
                         "1 error in 1 file\n");
}

TEST(Output, TextFromAFileIsPrintedHarmless)
{
    const struct {
        std::string text, printed, json;
    } cases[] = {
        {"plain 梁柱", "plain 梁柱", "\"plain 梁柱\""},
        {"a\nb\rc\td", "a\\nb\\rc\\td", "\"a\\nb\\rc\\td\""},
        {"\x1b[31m", "\\x1B[31m", "\"\\u001b[31m\""},
        {"\x7f", "\\x7F", "\"\\u007f\""},
        {"\xC2\x85", "\\u0085", "\"\\u0085\""},                 // a C1 control
        {"a\xE2\x80\xAE" "b", "a\\u202Eb", "\"a\\u202eb\""},    // right-to-left override
        {"\xFF.xml", "\\xFF.xml", "\"\\\\xFF.xml\""},           // not UTF-8
        {"\xE6\xA2", "\\xE6\\xA2", "\"\\\\xE6\\\\xA2\""},       // a character cut short
        {"\xC0\xAF", "\\xC0\\xAF", "\"\\\\xC0\\\\xAF\""},       // an overlong '/'
        {"\xED\xA0\x80", "\\xED\\xA0\\x80", "\"\\\\xED\\\\xA0\\\\x80\""}, // a surrogate
        {"q\"\\", "q\"\\", "\"q\\\"\\\\\""},
        // the first and last characters of each length of UTF-8 are characters, the bytes around them are not
        {"\xE0\xA0\x80 \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF", "\xE0\xA0\x80 \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF",
         "\"\xE0\xA0\x80 \xF0\x90\x80\x80 \xF4\x8F\xBF\xBF\""},
        {"\xE0\x9F\xBF", "\\xE0\\x9F\\xBF", "\"\\\\xE0\\\\x9F\\\\xBF\""},
        {"\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80", "\"\\\\xF4\\\\x90\\\\x80\\\\x80\""},
        {"\xC1\xBF\xBF\xBF", "\\xC1\\xBF\\xBF\\xBF", "\"\\\\xC1\\\\xBF\\\\xBF\\\\xBF\""}, // no lead byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Printable(c.text), c.printed) << c.text;
        EXPECT_EQ(JsonString(c.text), c.json) << c.text;
    }
}

// East Asian wide characters take two columns, at both ends of each of their blocks
TEST(Output, WideCharacters)
{
    const struct {
        const char* text;
        int width;
    } cases[] = {
        {"\xE1\x84\x80", 2}, {"\xE1\x85\x9F", 2}, {"\xE1\x85\xA0", 1},     // U+1100, U+115F, U+1160
        {"\xE2\xBA\x80", 2}, {"\xEA\x93\x8F", 2}, {"\xEA\x93\x90", 1},     // U+2E80, U+A4CF, U+A4D0
        {"\xEA\xB0\x80", 2}, {"\xED\x9E\xA3", 2}, {"\xED\x9E\xA4", 1},     // U+AC00, U+D7A3, U+D7A4
        {"\xEF\xBC\x90", 2}, {"\xEF\xBD\xA0", 2}, {"\xEF\xBD\xA1", 1},     // U+FF10, U+FF60, U+FF61
        {"\xF0\xA0\x80\x80", 2}, {"\xF0\xBF\xBF\xBD", 2}, {"\xF0\xBF\xBF\xBE", 1}, // U+20000, U+3FFFD, U+3FFFE
        {"a", 1}, {"\xC3\xA9", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShowCharacter(c.text, 0).width, c.width) << c.text;
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
    // lines end as the library counts them: CR, LF and CR LF
    const SourceText ends("<a>\r<b/>\n\r\n<c/>\r\n</a>");
    EXPECT_EQ(ends.LineCount(), 5);
    EXPECT_EQ(ends.Line(2), "<b/>");
    EXPECT_EQ(ends.Line(3), "");
    EXPECT_EQ(ends.Line(4), "<c/>");
    // UTF-16 with its mark
    const SourceText utf16(std::string("\xFF\xFE<\0a\0/\0>\0\n\0<\0b\0/\0>\0", 20));
    EXPECT_EQ(utf16.Line(2), "<b/>");
    // up to the byte that does not convert, the lines show as the file reads
    const SourceText cut("<?xml version=\"1.0\" encoding=\"GB18030\"?>\n<a n=\"\xC1\xBA\"/>\n<b n=\"\xFF\"/>\n");
    EXPECT_EQ(cut.Line(2), "<a n=\"梁\"/>");
    EXPECT_EQ(cut.Line(3).substr(0, 6), "<b n=\"");
    // places asked out of order are found all the same
    EXPECT_EQ(gbk.OffsetOf(2, 7), gbk.LineStart(2) + 6);
    EXPECT_EQ(gbk.OffsetOf(2, 8), gbk.LineStart(2) + 9);
    EXPECT_EQ(gbk.OffsetOf(2, 2), gbk.LineStart(2) + 1);
    EXPECT_EQ(gbk.OffsetOf(2, 99), gbk.LineEnd(2));
    // a stray byte is a column of its own, as the library counts it
    const SourceText stray("\xC3\xA9\x80x");
    EXPECT_EQ(stray.OffsetOf(1, 2), 2u);
    EXPECT_EQ(stray.OffsetOf(1, 3), 3u);
}

// which element each comment is for: the one whose tag ends before it on its
// line, else the next start tag; columns count characters
TEST(Output, SuppressionsFindTheirElement)
{
    const std::vector<Suppression> found =
        FindSuppressions("<a n=\"梁\"><!-- kvnode: ignore a,  b --> <b/>\n"
                         "<!-- kvnode: ignore-file --><!-- kvnode:ignore -->\n"
                         "<c\n q=\">\"/> <!-- kvnode: ignore --><d><!-- kvnode: ignore --></d> <!-- kvnode: ignore -->\n"
                         "<?pi <e/>?><!-- x --></a>");
    ASSERT_EQ(found.size(), 6u);
    EXPECT_EQ(found[0].problem, "kvnode: ignore names no rule \"a\"");
    EXPECT_EQ(std::make_pair(found[0].line, found[0].column), std::make_pair(1, 10)); // 梁 is one character
    EXPECT_EQ(std::make_pair(found[0].targetLine, found[0].targetColumn), std::make_pair(1, 1));
    EXPECT_TRUE(found[0].trailing);
    EXPECT_TRUE(found[1].wholeFile);
    EXPECT_TRUE(found[1].rules.empty());
    EXPECT_EQ(found[1].problem, "");
    // on a line of its own: the next start tag, which ends on the next line past a quoted ">"
    EXPECT_EQ(std::make_pair(found[2].targetLine, found[2].targetColumn), std::make_pair(3, 1));
    EXPECT_FALSE(found[2].trailing);
    EXPECT_EQ(std::make_pair(found[3].targetLine, found[3].targetColumn), std::make_pair(3, 1));
    EXPECT_EQ(std::make_pair(found[4].targetLine, found[4].targetColumn), std::make_pair(4, 33));
    // after an end tag: the element it ends
    EXPECT_EQ(std::make_pair(found[5].targetLine, found[5].targetColumn), std::make_pair(4, 33));
    EXPECT_TRUE(found[5].trailing);
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
