// What a user reads from kvnode where a slip would still look plausible: the
// wording of counts, escapes in JSON and DOT, the exit status of mixed
// findings, and the encodings fmt writes.
#include "support/RunKvnode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";
const std::string kCounts = kData + "counts.xml";

// Each case: the arguments, the exit status and what the output holds ("!"
// before a part: does not hold).
TEST(OutputForms, SayWhatTheyMean)
{
    const struct {
        std::string args;
        int status;
        std::vector<const char*> output;
    } cases[] = {
        {"check " + kCounts, 1,
         {"plate \"One\": \"planes\" holds 1 name; a plate needs three",
          "plate \"Four\": \"planes\" holds 4 names;", "bolt group \"None\" has 0 bolt planes;",
          "link bar \"K\" has 1 plane;", "a second variable \"L\\e\nn\" in variable item \"V\"", "!\"Width\"",
          "warning: variable item \"Unused\""}},
        // JSON: a backslash, a quote and a line feed in names, control characters in a file name
        {"check --json " + kCounts, 1,
         {"variable \\\"L\\\\e\\nn\\\" in variable item", "in node type \\\"N\\\\1 \\\"q\\\"\\\""}},
        {"check --json '" + kData + "no\\such\x01\x1f.xml'", 2, {"\"file\": \"", "no\\\\such\\u0001\\u001f.xml\""}},
        // DOT: the same escapes, and a line feed as \n
        {"graph " + kCounts, 0, {"label=\"N\\\\1 \\\"q\\\" (a\\nb)\";"}},
        // an error stays an error when a warning follows it, in one file or the next
        {"check " + kData + "unresolved-varitem.xml", 1, {"error:", "warning:"}},
        {"check " + kData + "plate-planes.xml " + kData + "unused-varitem.xml", 1, {"error:", "warning:"}},
        {"check " + kData + "unused-varitem.xml " + kData + "xml-warning.xml", 0, {"warning:"}},
        // fmt writes only what a node library is kept in: UTF-8 or GBK, by any of their names
        {"fmt --encoding gb18030 " + kCounts, 2, {"unknown encoding \"gb18030\" (utf-8 or gbk)"}},
        {"fmt --encoding UTF-16 " + kCounts, 2, {"unknown encoding"}},
        {"fmt --encoding cp936 " + kCounts, 0, {"<?xml version=\"1.0\" encoding=\"GBK\"?>"}},
        {"fmt --encoding utf8 " + kCounts, 0, {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}},
    };
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(kvtest::Kvnode(c.args, out), c.status) << c.args << "\n" << out;
        for (const char* part : c.output) {
            const bool absent = *part == '!';
            EXPECT_EQ(out.find(part + absent) == std::string::npos, absent) << c.args << "\n" << part << "\n" << out;
        }
    }
}

} // namespace
