#include "lsp/Server.h"

#include "commands/Formatter.h"
#include "config/FilePath.h"
#include "lsp/AttributeText.h"
#include "lsp/CodeActions.h"
#include "lsp/Completer.h"
#include "lsp/Navigator.h"
#include "lsp/Protocol.h"
#include "model/SourceText.h"
#include "output/Escape.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace kvnode {

namespace {

using nlohmann::json;

// a request that cannot be served as asked, answered with code and message
struct RequestError : std::runtime_error {
    RequestError(int code_, const std::string& message) : std::runtime_error(message), code(code_) {}
    int code;
};

const std::string kBom = "\xEF\xBB\xBF";
std::string WithoutBom(const std::string& text) { return text.compare(0, 3, kBom) == 0 ? text.substr(3) : text; }

// the protocol's SymbolKind of a descriptor's class
int SymbolKind(const CXMLBase& o)
{
    if (o.IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)))
        return 5; // Class
    if (o.IsKindOf(RUNTIME_CLASS(CNodeMemberDesc)))
        return 8; // Field
    if (o.IsKindOf(RUNTIME_CLASS(CVarItemDesc)))
        return 13; // Variable
    if (o.IsKindOf(RUNTIME_CLASS(CVarDesc)))
        return 7; // Property
    if (IsConstruction(o))
        return 14; // Constant
    if (o.IsKindOf(RUNTIME_CLASS(CBoltGroupDesc)))
        return 18; // Array
    return 23;     // Struct: plates, cuts, link bars, bolts, value lists
}

std::string Explanation(const std::string& rule)
{
    Options options;
    options.files.push_back(rule);
    std::ostringstream out, err;
    if (RunExplain(options, out, err) != kExitClean)
        throw RequestError(lsp::kInvalidParams, err.str());
    return out.str();
}

} // namespace

Server::Server(const Options& options, MessageChannel& channel)
    : m_options(options), m_channel(channel), m_configs(options)
{
}

int Server::Run()
{
    std::string body;
    while (!m_exit) {
        switch (m_channel.Next(body)) {
        case MessageChannel::Read::Message: Handle(body); break;
        case MessageChannel::Read::BadHeader: Fail(nullptr, lsp::kParseError, "a header without Content-Length"); break;
        case MessageChannel::Read::End: return 1;
        }
    }
    return m_shutdown ? 0 : 1;
}

void Server::Handle(const std::string& body)
{
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        Fail(nullptr, lsp::kParseError, "not JSON");
        return;
    }
    const json id = message.is_object() && message.contains("id") ? message["id"] : json();
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string() ||
        !(id.is_null() || id.is_number_integer() || id.is_string())) {
        if (!(message.is_object() && message.contains("result"))) // a client's answer is no request
            Fail(id, lsp::kInvalidRequest, "not a request or notification");
        return;
    }
    const std::string method = message["method"];
    const json params = message.contains("params") ? message["params"] : json::object();
    if (message.contains("id"))
        Request(id, method, params);
    else
        Notification(method, params);
}

void Server::Request(const json& id, const std::string& method, const json& params)
{
    static const std::map<std::string, Handler> kHandlers = {
        {"initialize", &Server::Initialize},
        {"shutdown", &Server::Shutdown},
        {"textDocument/completion", &Server::Completion},
        {"textDocument/hover", &Server::Hover},
        {"textDocument/definition", &Server::Definition},
        {"textDocument/references", &Server::References},
        {"textDocument/rename", &Server::Rename},
        {"textDocument/documentSymbol", &Server::DocumentSymbols},
        {"textDocument/formatting", &Server::Formatting},
        {"textDocument/codeAction", &Server::CodeAction},
        {"workspace/executeCommand", &Server::ExecuteCommand},
    };
    if (method != "initialize" && !m_initialized)
        return Fail(id, lsp::kServerNotInitialized, "the server is not initialized");
    if (m_shutdown)
        return Fail(id, lsp::kInvalidRequest, "the server is shut down");
    const auto handler = kHandlers.find(method);
    if (handler == kHandlers.end())
        return Fail(id, lsp::kMethodNotFound, "no method " + method);
    try {
        Respond(id, (this->*handler->second)(params));
    } catch (const RequestError& e) {
        Fail(id, e.code, e.what());
    } catch (const json::exception& e) {
        Fail(id, lsp::kInvalidParams, e.what());
    }
}

void Server::Notification(const std::string& method, const json& params)
{
    if (method == "exit") {
        m_exit = true;
        return;
    }
    if (!m_initialized || m_shutdown)
        return;
    try {
        if (method == "textDocument/didOpen")
            DidOpen(params);
        else if (method == "textDocument/didChange")
            DidChange(params);
        else if (method == "textDocument/didSave")
            DidSave(params);
        else if (method == "textDocument/didClose")
            DidClose(params);
    } catch (const std::exception& e) {
        // a notification has no answer: the client is told in a message
        ShowMessage(1, "kvnode: " + method + ": " + e.what());
    }
}

void Server::Respond(const json& id, const json& result)
{
    m_channel.Write(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result}}.dump(-1, ' ', false, json::error_handler_t::replace));
}

void Server::Fail(const json& id, int code, const std::string& message)
{
    m_channel.Write(json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}.dump(
        -1, ' ', false, json::error_handler_t::replace));
}

void Server::Notify(const std::string& method, const json& params)
{
    m_channel.Write(json{{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}.dump(
        -1, ' ', false, json::error_handler_t::replace));
}

void Server::ShowMessage(int type, const std::string& message)
{
    Notify("window/showMessage", {{"type", type}, {"message", message}});
}

// ---- lifecycle --------------------------------------------------------------

json Server::Initialize(const json& params)
{
    m_initialized = true;
    const json snippets = params.value("/capabilities/textDocument/completion/completionItem/snippetSupport"_json_pointer, false);
    m_snippets = snippets.is_boolean() && snippets.get<bool>();
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
              {"completionProvider", {{"triggerCharacters", {"<", " ", "\"", ",", "@"}}}},
              {"hoverProvider", true},
              {"definitionProvider", true},
              {"referencesProvider", true},
              {"renameProvider", true},
              {"documentSymbolProvider", true},
              {"documentFormattingProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix", "source.fixAll"}}}},
              {"executeCommandProvider", {{"commands", {CodeActions::kExplainCommand}}}}}},
            {"serverInfo", {{"name", "kvnode"}, {"version", KVNODE_VERSION}}}};
}

json Server::Shutdown(const json&)
{
    m_shutdown = true;
    return nullptr;
}

// ---- documents --------------------------------------------------------------

OpenDocument& Server::Document(const json& params)
{
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto found = m_documents.find(uri);
    if (found == m_documents.end())
        throw RequestError(lsp::kInvalidParams, "no open document " + uri);
    return *found->second;
}

const CXMLDocument& Server::CurrentModel(OpenDocument& doc)
{
    if (!doc.Parse())
        throw RequestError(lsp::kRequestFailed, "the document does not load as it is: see its xml-error");
    return *doc.Model();
}

size_t Server::OffsetOf(const OpenDocument& doc, const json& params) const
{
    return doc.Lines().Offset(lsp::PositionOf(params.at("position")));
}

void Server::DidOpen(const json& params)
{
    const json& item = params.at("textDocument");
    const std::string uri = item.at("uri").get<std::string>();
    const std::string path = PathOfUri(uri);
    auto doc = std::make_unique<OpenDocument>(uri, path.empty() ? uri : path, item.at("text").get<std::string>(),
                                              item.value("version", 0LL));
    OpenDocument& opened = *doc;
    m_documents[uri] = std::move(doc);
    Check(opened, true);
}

void Server::DidChange(const json& params)
{
    // a client that opened a file it then kept from the server (not a node
    // definition) may still tell of its changes: they are none of this server's
    if (!m_documents.count(params.at("textDocument").at("uri").get<std::string>()))
        return;
    OpenDocument& doc = Document(params);
    if (!doc.Change(params.at("contentChanges"), params.at("textDocument").value("version", doc.Version() + 1)))
        throw std::runtime_error("a change that is neither the whole text nor a range's");
    Check(doc, false);
}

void Server::DidSave(const json& params)
{
    if (m_documents.count(params.at("textDocument").at("uri").get<std::string>()))
        Check(Document(params), true);
}

void Server::DidClose(const json& params)
{
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    if (!m_documents.erase(uri))
        return;
    m_diskFindings.erase(uri);
    Notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}});
}

bool Server::ControlsOf(const OpenDocument& doc, Controls& controls)
{
    Options options = m_options;
    std::string problem;
    const ConfigFile* config = nullptr;
    const bool file = doc.Path() != doc.Uri();
    if (file && !m_configs.Find(doc.Path(), config, problem))
        ShowMessage(1, Printable(problem));
    if (config) {
        const std::string absolute = AbsolutePath(doc.Path());
        if (config->Excludes(absolute))
            return false;
        options = config->Apply(m_options, absolute);
    }
    if (!controls.Parse(options, problem)) {
        ShowMessage(1, "kvnode: " + problem);
        controls = Controls();
    }
    return true;
}

void Server::Check(OpenDocument& doc, bool onDisk)
{
    Controls controls;
    std::vector<Finding>& disk = m_diskFindings[doc.Uri()];
    if (!ControlsOf(doc, controls)) {
        doc.findings.clear();
        disk.clear();
    } else {
        doc.findings = doc.Parse() ? LintDocument(*doc.Model(), doc.Path(), doc.Bytes(), controls).findings
                                   : Lint(doc.Path(), doc.Bytes(), controls).findings;
        std::string bytes;
        if (onDisk) {
            disk.clear();
            // the encoding's findings need the file's bytes, which hold the buffer's text when it is saved
            CXMLDocument reader;
            // (an editor may have read it otherwise than declared: then only what is said of the declaration)
            const bool read = doc.Path() != doc.Uri() && reader.ReadFile(doc.Path().c_str(), bytes);
            const bool same = read && WithoutBom(SourceText(bytes).Text()) == WithoutBom(doc.Text());
            if (same || (read && WithoutBom(bytes) == WithoutBom(doc.Text())))
                for (Finding& f : Lint(doc.Path(), bytes, controls).findings)
                    if ((same || f.line == 1) &&
                        std::none_of(doc.findings.begin(), doc.findings.end(), [&](const Finding& g) {
                            return g.rule == f.rule && g.line == f.line && g.column == f.column;
                        }))
                        disk.push_back(std::move(f));
        }
    }
    // Written out directly: thousands of findings as JSON objects would cost
    // more than finding them.
    const TextLines& lines = doc.Lines();
    const auto text = [](const std::string& s) { return json(s).dump(-1, ' ', false, json::error_handler_t::replace); };
    const std::string uri = text(doc.Uri());
    std::string params = "{\"uri\":" + uri + ",\"version\":" + std::to_string(doc.Version()) + ",\"diagnostics\":[";
    bool first = true;
    for (const std::vector<Finding>* list : {&doc.findings, &disk})
        for (const Finding& f : *list) {
            const TextPosition start = lines.FromPlace(f.line, f.column);
            const TextPosition end = f.endLine ? lines.FromPlace(f.endLine, f.endColumn) : start;
            const std::string range = "{\"start\":{\"line\":" + std::to_string(start.line) + ",\"character\":" +
                                      std::to_string(start.character) + "},\"end\":{\"line\":" +
                                      std::to_string(end.line) + ",\"character\":" + std::to_string(end.character) + "}}";
            const std::string rule(f.rule);
            params += (first ? "{" : ",{");
            first = false;
            params += "\"range\":" + range +
                      ",\"severity\":" + (controls.SeverityOf(f.rule) == Severity::Error ? "1" : "2") +
                      ",\"code\":" + text(rule) + ",\"source\":\"kvnode\",\"message\":" + text(f.message) +
                      ",\"relatedInformation\":[{\"location\":{\"uri\":" + uri + ",\"range\":" + range +
                      "},\"message\":" + text(std::string(RuleOf(f.rule).summary) + " (kvnode explain " + rule + ")") +
                      "}]";
            if (f.fix)
                params += std::string(",\"data\":{\"fix\":\"") + (f.fix->safe ? "safe" : "unsafe") + "\"}";
            params += "}";
        }
    m_channel.Write("{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/publishDiagnostics\",\"params\":" + params + "]}}");
}

// ---- requests on a document -------------------------------------------------

json Server::Completion(const json& params)
{
    OpenDocument& doc = Document(params);
    doc.Parse(); // the last good model serves when this text does not load
    return Completer(doc.Text(), doc.Lines(), doc.Model(), m_snippets).At(OffsetOf(doc, params));
}

json Server::Hover(const json& params)
{
    OpenDocument& doc = Document(params);
    const Navigator nav(CurrentModel(doc), doc.Bytes());
    const size_t offset = OffsetOf(doc, params);
    const Navigator::Spot spot = nav.At(offset);
    if (!spot.object)
        return nullptr;
    const XmlMarkup& m = *doc.Model()->GetMarkup(spot.object);
    const ClassInfo* info = ClassOf(*spot.object);
    std::string text;
    ByteRange range{m.nameRange.start.offset, m.nameRange.end.offset};
    if (!spot.attribute) {
        if (!info || offset > range.end)
            return nullptr;
        text = "**" + info->noun + "** `" + info->element + "` (class " + info->index + ")";
    } else {
        const std::string name = Bytes(spot.attribute->name);
        const AttributeInfo* a = info ? FindAttribute(*info, name) : nullptr;
        const EnumTable* table = a ? ValueTable(*info, *a) : nullptr;
        const bool keyword = a && a->reading.type == AttType::Keyword;
        if (!spot.inValue) {
            range = ByteRange{spot.attribute->nameRange.start.offset, spot.attribute->nameRange.end.offset};
            text = "`" + name + "`: " + (a ? ReadingText(a->reading) : "no attribute of a " + Noun(spot.object->GetRuntimeClass()));
            if (table)
                text += "\n\n" + TableText(*table, keyword);
        } else if (const CBaseDesc* target = nav.Target(spot)) {
            range = spot.item;
            const std::string show = Utf8(target->GetShowName());
            text = "**" + Noun(target->GetRuntimeClass()) + "** `" + Utf8(target->GetName()) + "`" +
                   (show.empty() ? "" : " " + show) + ", line " + std::to_string(doc.Model()->GetPosition(target).line);
        } else if (a) {
            range = spot.item;
            const std::string row = table ? RowText(*table, keyword, spot.text) : std::string();
            text = "`" + name + "`: " + (row.empty() ? ReadingText(a->reading) : row);
        } else {
            return nullptr;
        }
    }
    return {{"contents", {{"kind", "markdown"}, {"value", text}}}, {"range", lsp::Range(doc.Lines(), range.begin, range.end)}};
}

json Server::Definition(const json& params)
{
    OpenDocument& doc = Document(params);
    const Navigator nav(CurrentModel(doc), doc.Bytes());
    const CBaseDesc* target = nav.Target(nav.At(OffsetOf(doc, params)));
    if (!target)
        return nullptr;
    const ByteRange r = nav.Declaration(*target);
    return {{"uri", doc.Uri()}, {"range", lsp::Range(doc.Lines(), r.begin, r.end)}};
}

json Server::References(const json& params)
{
    OpenDocument& doc = Document(params);
    const Navigator nav(CurrentModel(doc), doc.Bytes());
    const CBaseDesc* target = nav.Target(nav.At(OffsetOf(doc, params)));
    json locations = json::array();
    if (!target)
        return locations;
    std::vector<ByteRange> ranges = nav.References(*target);
    if (params.value("/context/includeDeclaration"_json_pointer, json(false)) == json(true))
        ranges.insert(ranges.begin(), nav.Declaration(*target));
    for (const ByteRange& r : ranges)
        locations.push_back({{"uri", doc.Uri()}, {"range", lsp::Range(doc.Lines(), r.begin, r.end)}});
    return locations;
}

json Server::Rename(const json& params)
{
    OpenDocument& doc = Document(params);
    const Navigator nav(CurrentModel(doc), doc.Bytes());
    const CBaseDesc* target = nav.Target(nav.At(OffsetOf(doc, params)));
    const std::string name = params.at("newName").get<std::string>();
    if (!target)
        throw RequestError(lsp::kRequestFailed, "no descriptor's name is here");
    if (name.empty() || name.find_first_of(",<>&\"' \t\r\n@") != std::string::npos)
        throw RequestError(lsp::kRequestFailed, "\"" + name + "\" cannot be a name: names are lists' items, "
                                                              "so they hold no comma, blank, quote, '@' or markup");
    if (const CBaseDesc* other = nav.Collision(*target, name))
        throw RequestError(lsp::kRequestFailed,
                           "the node type has a " + Noun(other->GetRuntimeClass()) + " \"" + name + "\" already (line " +
                               std::to_string(doc.Model()->GetPosition(other).line) + "): the names would collide");
    json edits = json::array();
    std::vector<ByteRange> ranges = nav.References(*target);
    ranges.push_back(nav.Declaration(*target));
    for (const ByteRange& r : ranges)
        edits.push_back({{"range", lsp::Range(doc.Lines(), r.begin, r.end)}, {"newText", name}});
    return {{"changes", {{doc.Uri(), edits}}}};
}

json Server::DocumentSymbols(const json& params)
{
    OpenDocument& doc = Document(params);
    const CXMLDocument& model = CurrentModel(doc);
    const Navigator nav(model, doc.Bytes());
    std::function<json(const std::vector<const CXMLBase*>&)> symbols = [&](const std::vector<const CXMLBase*>& objects) {
        json list = json::array();
        for (const CXMLBase* o : objects) {
            if (!o->IsKindOf(RUNTIME_CLASS(CBaseDesc)) || !model.GetMarkup(o))
                continue;
            const auto& desc = static_cast<const CBaseDesc&>(*o);
            const std::string name = Utf8(desc.GetName()), show = Utf8(desc.GetShowName());
            const std::string noun = Noun(o->GetRuntimeClass());
            const ByteRange extent = nav.Extent(*o), selection = nav.Declaration(desc);
            list.push_back({{"name", name.empty() ? "(" + noun + ")" : name},
                            {"detail", noun + (show.empty() ? "" : "  " + show)},
                            {"kind", SymbolKind(*o)},
                            {"range", lsp::Range(doc.Lines(), extent.begin, extent.end)},
                            {"selectionRange", lsp::Range(doc.Lines(), selection.begin, selection.end)},
                            {"children", symbols(ChildrenOf(*o))}});
        }
        return list;
    };
    const CXMLBase* root = model.GetRoot();
    if (!root)
        return json::array();
    // a document whose root is a node type shows the node type too
    return symbols(root->IsKindOf(RUNTIME_CLASS(CNodeTypeDesc)) ? std::vector<const CXMLBase*>{root} : ChildrenOf(*root));
}

json Server::Formatting(const json& params)
{
    OpenDocument& doc = Document(params);
    // fmt works on the file's bytes: the buffer is put in the declaration's encoding first
    std::string bytes;
    XmlEncoding encoding;
    if (!AsFileBytes(doc.Text(), bytes, encoding))
        throw RequestError(lsp::kRequestFailed,
                           std::string("the text holds characters ") + XmlEncodingName(encoding) + " cannot");
    CXMLDocument file;
    file.SetRecordPositions(true);
    if (!file.LoadXml(bytes.data(), bytes.size(), doc.Path().c_str()))
        throw RequestError(lsp::kRequestFailed, "the document does not load: " + DiagnosticText(file.GetError()));
    Formatter formatter(file, bytes);
    std::string out;
    if (!formatter.Format(file.GetEncoding(), out))
        throw RequestError(lsp::kRequestFailed, formatter.Problem());
    std::string text = SourceText(out).Text();
    if (doc.Text().compare(0, 3, kBom) != 0)
        text = WithoutBom(text);
    if (text == doc.Text())
        return json::array();
    return json::array({EditBetween(doc.Text(), text, doc.Lines())});
}

json Server::CodeAction(const json& params)
{
    OpenDocument& doc = Document(params);
    Controls controls;
    ControlsOf(doc, controls);
    const json& range = params.at("range");
    const TextLines& lines = doc.Lines();
    const json only = params.value("/context/only"_json_pointer, json::array());
    const bool source = only.is_array() && std::any_of(only.begin(), only.end(), [](const json& kind) {
                            return kind.is_string() && kind.get<std::string>().compare(0, 6, "source") == 0;
                        });
    return CodeActions(doc, controls)
        .For(lines.Offset(lsp::PositionOf(range.at("start"))), lines.Offset(lsp::PositionOf(range.at("end"))), source);
}

json Server::ExecuteCommand(const json& params)
{
    const std::string command = params.at("command").get<std::string>();
    if (command != CodeActions::kExplainCommand)
        throw RequestError(lsp::kInvalidParams, "no command " + command);
    const std::string text = Explanation(params.at("arguments").at(0).get<std::string>());
    ShowMessage(3, text);
    return text;
}

int ServeLsp(const Options& options, std::istream& in, std::ostream& out)
{
    MessageChannel channel(in, out);
    return Server(options, channel).Run();
}

int RunLsp(const Options& options, std::ostream& out, std::ostream&)
{
    return ServeLsp(options, std::cin, out);
}

} // namespace kvnode
