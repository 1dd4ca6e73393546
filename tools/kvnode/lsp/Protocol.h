#pragma once
// The protocol's shapes that every feature writes: positions and ranges of a
// buffer, and its error codes.
#include "lsp/TextLines.h"

#include <nlohmann/json.hpp>

namespace kvnode {

namespace lsp {

enum ErrorCode {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kServerNotInitialized = -32002,
    kRequestFailed = -32803,
};

inline nlohmann::json Position(const TextPosition& p) { return {{"line", p.line}, {"character", p.character}}; }
inline nlohmann::json Range(const TextPosition& from, const TextPosition& to)
{
    return {{"start", Position(from)}, {"end", Position(to)}};
}
inline nlohmann::json Range(const TextLines& lines, size_t from, size_t to)
{
    return Range(lines.PositionOf(from), lines.PositionOf(to));
}
inline TextPosition PositionOf(const nlohmann::json& p)
{
    return TextPosition{p.at("line").get<int>(), p.at("character").get<int>()};
}

} // namespace lsp

} // namespace kvnode
