// kvnode lsp's work after the author types into a 1 MB node definition: the
// change applied to the buffer, the one parse, every rule, and the
// diagnostics written as the protocol's JSON (no debounce: the server has
// none). An editor wants this within 100 ms. Against, on the same bytes in
// the same run:
//   BM_LoadFloor   the library's load alone, positions recorded: the floor
//   BM_LintEntry   what `kvnode check` does for the bytes (load and rules)
//   BM_AfterChange the server: one character typed, then taken away, each a change
// Each over two documents of a megabyte (Document): /0 a library written as
// people write them, /1 a generated one with thousands of findings.
// Counters: bytes of the document, findings, diagnostics published.
#include "NodeLibraryGenerator.h"
#include "lsp/MessageChannel.h"
#include "lsp/Server.h"
#include "rules/Controls.h"
#include "rules/Lint.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

using nlohmann::json;

// A megabyte of node definitions: the example end-plate node type, each copy
// named apart, as a library of many node types is written (a finding or two
// each); or the benchmarks' generated library, whose random names dangle in
// thousands of findings.
const std::string& Document(int64_t generated)
{
    static const std::string library = [] {
        std::ifstream in(std::string(KV_EXAMPLES) + "/beam-column-endplate.xml", std::ios::binary);
        const std::string example((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t begin = example.find("<CNodeTypeDesc"), end = example.rfind("</CNodeTypeDesc>") + 16;
        const std::string node = example.substr(begin, end - begin);
        std::string xml = example.substr(0, begin);
        for (int i = 0; xml.size() < (1u << 20); ++i) {
            std::string copy = node;
            const size_t name = copy.find(" name=\"") + 7;
            copy.insert(copy.find('"', name), std::to_string(i));
            xml += copy + "\n  ";
        }
        return xml + example.substr(end);
    }();
    static const std::string random = [] {
        kvgen::LibraryShape shape;
        shape.elements = 8000;
        kvgen::Library generated = kvgen::GenerateNodeLibrary(shape);
        while (generated.xml.size() < (1u << 20)) {
            shape.elements += 1000;
            generated = kvgen::GenerateNodeLibrary(shape);
        }
        return generated.xml;
    }();
    return generated ? random : library;
}

void BM_LoadFloor(benchmark::State& state)
{
    const std::string& xml = Document(state.range(0));
    for (auto _ : state) {
        CXMLDocument doc;
        doc.SetRecordPositions(true);
        benchmark::DoNotOptimize(doc.LoadXml(xml.data(), xml.size(), "node.xml"));
    }
    state.counters["bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_LoadFloor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LintEntry(benchmark::State& state)
{
    const std::string& xml = Document(state.range(0));
    const kvnode::Controls controls;
    size_t findings = 0;
    for (auto _ : state)
        findings = kvnode::Lint("node.xml", xml, controls).findings.size();
    state.counters["bytes"] = static_cast<double>(xml.size());
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_LintEntry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_AfterChange(benchmark::State& state)
{
    const std::string& xml = Document(state.range(0));
    const kvnode::Options options;
    std::istringstream in;
    std::ostringstream out;
    kvnode::MessageChannel channel(in, out);
    kvnode::Server server(options, channel);
    const std::string uri = "untitled:node.xml";
    server.Handle(json{{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}}.dump());
    server.Handle(json{{"jsonrpc", "2.0"},
                       {"method", "textDocument/didOpen"},
                       {"params", {{"textDocument", {{"uri", uri}, {"languageId", "xml"}, {"version", 1}, {"text", xml}}}}}}
                      .dump());
    // a character typed into a show name in the middle of the file, then taken away
    const size_t middle = xml.find("showname=\"", xml.size() / 2) + 10;
    const int line = static_cast<int>(std::count(xml.begin(), xml.begin() + static_cast<long>(middle), '\n'));
    const int character = static_cast<int>(middle - xml.rfind('\n', middle) - 1); // ASCII before it
    const json at = {{"line", line}, {"character", character}};
    const json past = {{"line", line}, {"character", character + 1}};
    const std::string type = json{{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"},
                                  {"params", {{"textDocument", {{"uri", uri}, {"version", 2}}},
                                              {"contentChanges", {{{"range", {{"start", at}, {"end", at}}}, {"text", "x"}}}}}}}
                                 .dump();
    const std::string erase = json{{"jsonrpc", "2.0"}, {"method", "textDocument/didChange"},
                                   {"params", {{"textDocument", {{"uri", uri}, {"version", 3}}},
                                               {"contentChanges", {{{"range", {{"start", at}, {"end", past}}}, {"text", ""}}}}}}}
                                  .dump();
    bool typed = false;
    for (auto _ : state) {
        out.str(std::string());
        server.Handle((typed = !typed) ? type : erase);
    }
    const std::string published = out.str();
    const size_t body = published.find("\r\n\r\n");
    const json message = json::parse(published.substr(body + 4), nullptr, false);
    state.counters["bytes"] = static_cast<double>(xml.size());
    state.counters["diagnostics"] =
        message.is_discarded() ? -1.0 : static_cast<double>(message["params"]["diagnostics"].size());
}
BENCHMARK(BM_AfterChange)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
