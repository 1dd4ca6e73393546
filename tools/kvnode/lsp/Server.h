#pragma once
// `kvnode lsp`: the Language Server Protocol over a message channel. Each
// open document is parsed once a change, and its findings come from the
// one lint entry point with the controls of its kvnode.toml, as `kvnode
// check` finds them. A message the server cannot take is answered with the
// protocol's error, and the server goes on; only "exit" ends it.
#include "commands/Commands.h"
#include "config/ConfigFinder.h"
#include "lsp/MessageChannel.h"
#include "lsp/OpenDocument.h"
#include "rules/Controls.h"

#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <string>

namespace kvnode {

class Server {
public:
    // options: the command line's (--config, --isolated), under each file's kvnode.toml
    Server(const Options& options, MessageChannel& channel);

    // serves until "exit" or the end of input: 0 after a shutdown request, else 1
    int Run();
    // one message's body, answered on the channel
    void Handle(const std::string& body);

private:
    using Handler = nlohmann::json (Server::*)(const nlohmann::json& params);

    void Request(const nlohmann::json& id, const std::string& method, const nlohmann::json& params);
    void Notification(const std::string& method, const nlohmann::json& params);
    void Respond(const nlohmann::json& id, const nlohmann::json& result);
    void Fail(const nlohmann::json& id, int code, const std::string& message);
    void Notify(const std::string& method, const nlohmann::json& params);
    void ShowMessage(int type, const std::string& message);

    // requests
    nlohmann::json Initialize(const nlohmann::json& params);
    nlohmann::json Shutdown(const nlohmann::json& params);
    nlohmann::json Completion(const nlohmann::json& params);
    nlohmann::json Hover(const nlohmann::json& params);
    nlohmann::json Definition(const nlohmann::json& params);
    nlohmann::json References(const nlohmann::json& params);
    nlohmann::json Rename(const nlohmann::json& params);
    nlohmann::json DocumentSymbols(const nlohmann::json& params);
    nlohmann::json Formatting(const nlohmann::json& params);
    nlohmann::json CodeAction(const nlohmann::json& params);
    nlohmann::json ExecuteCommand(const nlohmann::json& params);
    // notifications
    void DidOpen(const nlohmann::json& params);
    void DidChange(const nlohmann::json& params);
    void DidSave(const nlohmann::json& params);
    void DidClose(const nlohmann::json& params);

    OpenDocument& Document(const nlohmann::json& params);
    // the document's model made from its text as it is; a request on a text that does not load fails
    const CXMLDocument& CurrentModel(OpenDocument& doc);
    size_t OffsetOf(const OpenDocument& doc, const nlohmann::json& params) const;
    // the controls of the document's kvnode.toml; false when it excludes the file
    bool ControlsOf(const OpenDocument& doc, Controls& controls);
    // lints the buffer (and, on open and save, the file on disk) and publishes the findings
    void Check(OpenDocument& doc, bool onDisk);

    const Options& m_options;
    MessageChannel& m_channel;
    ConfigFinder m_configs;
    std::map<std::string, std::unique_ptr<OpenDocument>> m_documents; // by URI
    // findings that only the bytes on disk show (the encoding's), from the last open or save
    std::map<std::string, std::vector<Finding>> m_diskFindings;
    bool m_initialized = false, m_shutdown = false, m_exit = false;
    bool m_snippets = false;
};

// the server over in and out: 0 when it was shut down before "exit"
int ServeLsp(const Options& options, std::istream& in, std::ostream& out);

} // namespace kvnode
