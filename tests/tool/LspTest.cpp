// kvnode lsp as an editor drives it: sessions of messages through the binary's
// standard input, and what it answers (data/tool/lsp.txt).
#include "support/DescTestUtil.h"
#include "support/RunKvnode.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <unistd.h>

namespace {

using nlohmann::json;

const std::string kData = std::string(KV_TEST_DATA) + "/tool/";

std::string Framed(const std::string& body) { return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body; }

// a file's bytes as an editor shows them: UTF-8, converted by iconv from the encoding it was told
std::string Decoded(const std::string& bytes, const std::string& encoding)
{
    iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1)) << encoding;
    std::string out(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    char* to = &out[0];
    size_t inLeft = bytes.size(), outLeft = out.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &to, &outLeft), static_cast<size_t>(-1)) << encoding;
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out.compare(0, 3, "\xEF\xBB\xBF") == 0 ? out.substr(3) : out; // an editor keeps the mark aside
}

// Whether actual holds expected: an object's keys with values that hold
// theirs, an array's elements each held by one of actual's (an empty array:
// actual is empty), a string starting "~" is a part of actual's, anything
// else equal.
bool Holds(const json& actual, const json& expected)
{
    if (expected.is_object()) {
        if (!actual.is_object())
            return false;
        for (auto it = expected.begin(); it != expected.end(); ++it)
            if (!actual.contains(it.key()) || !Holds(actual[it.key()], it.value()))
                return false;
        return true;
    }
    if (expected.is_array()) {
        if (!actual.is_array() || (expected.empty() && !actual.empty()))
            return false;
        for (const json& e : expected)
            if (std::none_of(actual.begin(), actual.end(), [&](const json& a) { return Holds(a, e); }))
                return false;
        return true;
    }
    if (expected.is_string() && actual.is_string() && expected.get<std::string>().compare(0, 1, "~") == 0)
        return actual.get<std::string>().find(expected.get<std::string>().substr(1)) != std::string::npos;
    return actual == expected;
}

// What the server wrote, in messages.
std::vector<json> Messages(const std::string& out)
{
    std::vector<json> messages;
    for (size_t at = 0; at < out.size();) {
        const size_t blank = out.find("\r\n\r\n", at);
        const size_t length = std::stoul(out.substr(at + 16, blank - at - 16));
        EXPECT_EQ(out.compare(at, 16, "Content-Length: "), 0) << out.substr(at, 40);
        messages.push_back(json::parse(out.substr(blank + 4, length), nullptr, false));
        at = blank + 4 + length;
    }
    return messages;
}

struct Step {
    std::string sent;       // the bytes sent
    json request;           // its id, for a request
    std::vector<std::string> checks; // "<", "!", "d", "m" lines
    int line = 0;
};

struct Session {
    std::string args;
    int status = 0;
    std::vector<Step> steps;
    int line = 0;
};

// Runs a session: every step is followed by a request no server knows,
// whose error marks where the step's output ends.
void RunSession(const Session& s, const std::string& tmp)
{
    std::string input = Framed(R"({"jsonrpc":"2.0","id":"init","method":"initialize","params":{"capabilities":{}}})") +
                        Framed(R"({"jsonrpc":"2.0","method":"initialized","params":{}})");
    for (size_t i = 0; i < s.steps.size(); ++i)
        input += s.steps[i].sent +
                 Framed(json{{"jsonrpc", "2.0"}, {"id", "mark" + std::to_string(i)}, {"method", "kvnode/mark"}}.dump());
    input += Framed(R"({"jsonrpc":"2.0","id":"end","method":"shutdown"})") + Framed(R"({"jsonrpc":"2.0","method":"exit"})");
    const std::string in = tmp + "/in", outFile = tmp + "/out";
    std::ofstream(in, std::ios::binary) << input;
    std::string err;
    const int status =
        kvtest::Run("cd '" + tmp + "' && " + KVNODE_EXE + " lsp " + s.args + " < in > out 2>/dev/null", err);
    EXPECT_EQ(status, s.status) << "session at line " << s.line;
    const std::vector<json> messages = Messages(kvtest::ReadFile(outFile));
    size_t next = 0;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const Step& step = s.steps[i];
        json answer, diagnostics, shown;
        for (; next < messages.size() && messages[next].value("id", json()) != json("mark" + std::to_string(i)); ++next) {
            const json& m = messages[next];
            if (m.contains("id") && m["id"] == step.request)
                answer = m;
            else if (m.value("method", "") == "textDocument/publishDiagnostics")
                diagnostics = m["params"];
            else if (m.value("method", "") == "window/showMessage")
                shown = m["params"];
        }
        ASSERT_LT(next++, messages.size()) << "the server stopped answering at line " << step.line;
        for (const std::string& check : step.checks) {
            const bool negated = check[0] == '!';
            std::string what = check.substr(negated ? 2 : 0); // "d {...}", "m {...}", or the answer's "< {...}"
            if (negated && !(what.size() > 2 && (what[0] == 'd' || what[0] == 'm') && what[1] == ' '))
                what.insert(0, "< ");
            const json expected = json::parse(what.substr(2), nullptr, false);
            ASSERT_FALSE(expected.is_discarded()) << "line " << step.line << ": " << check;
            const json& actual = what[0] == 'd' ? diagnostics : what[0] == 'm' ? shown : answer;
            // a negated check needs something to look at: a diagnostics check, for one, that diagnostics came
            if (negated && what[0] == 'd' && !expected.contains("uri")) {
                EXPECT_FALSE(actual.is_null()) << "step at line " << step.line << ": no diagnostics";
            }
            EXPECT_EQ(Holds(actual, expected), !negated)
                << "step at line " << step.line << "\nexpected " << check << "\nactual   " << actual.dump();
        }
    }
}

TEST(Lsp, Sessions)
{
    std::ifstream table(kData + "lsp.txt");
    ASSERT_TRUE(table);
    const std::string tmp = testing::TempDir() + "kvnode-lsp-" + std::to_string(::getpid());
    std::string out;
    ASSERT_EQ(kvtest::Run("rm -rf '" + tmp + "' && mkdir -p '" + tmp + "'", out), 0);
    std::vector<Session> sessions;
    std::string line, uri;
    int number = 0, id = 0;
    while (std::getline(table, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::string text = line.size() > 2 ? line.substr(2) : std::string();
        for (const auto& [from, to] : {std::pair<std::string, std::string>{"{data}", kData}, {"{tmp}", tmp}})
            for (size_t at; (at = text.find(from)) != std::string::npos;)
                text.replace(at, from.size(), to);
        if (line[0] == '$') {
            sessions.push_back(Session{text, 0, {}, number});
            continue;
        }
        ASSERT_FALSE(sessions.empty()) << "line " << number << " before a session";
        Session& s = sessions.back();
        if (line[0] == '?') {
            s.status = std::stoi(text);
        } else if (line[0] == '@') { // open FILE [ENCODING]
            const size_t blank = text.find(' ', 5);
            const std::string file = text.substr(5, blank == std::string::npos ? blank : blank - 5);
            uri = "file://" + file;
            const json open = {{"jsonrpc", "2.0"},
                               {"method", "textDocument/didOpen"},
                               {"params",
                                {{"textDocument",
                                  {{"uri", uri},
                                   {"languageId", "xml"},
                                   {"version", 1},
                                   {"text", Decoded(kvtest::ReadFile(file),
                                                    blank == std::string::npos ? "UTF-8" : text.substr(blank + 1))}}}}}};
            s.steps.push_back(Step{Framed(open.dump()), json(), {}, number});
        } else if (line[0] == '-') {
            s.steps.push_back(Step{kvtest::Unescape(text), json(), {}, number});
        } else if (line[0] == '>') {
            json m = json::parse(text, nullptr, false);
            ASSERT_FALSE(m.is_discarded()) << "line " << number;
            m["jsonrpc"] = "2.0";
            if (!m.contains("params"))
                m["params"] = json::object();
            if (!m["params"].contains("textDocument"))
                m["params"]["textDocument"] = json::object();
            if (!m["params"]["textDocument"].contains("uri"))
                m["params"]["textDocument"]["uri"] = uri;
            const bool request = !m.contains("notify");
            m.erase("notify");
            if (request)
                m["id"] = ++id;
            s.steps.push_back(Step{Framed(m.dump()), request ? json(id) : json(), {}, number});
        } else {
            ASSERT_FALSE(s.steps.empty()) << "line " << number << " before a message";
            s.steps.back().checks.push_back(text.insert(0, line.substr(0, 2)));
        }
    }
    EXPECT_GE(sessions.size(), 5u);
    for (const Session& s : sessions)
        RunSession(s, tmp);
    kvtest::Run("rm -rf '" + tmp + "'", out);
}

} // namespace
