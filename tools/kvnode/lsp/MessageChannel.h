#pragma once
// The protocol's base layer over a pair of streams: each message a header
// ("Content-Length: N", blank line) and N bytes of JSON.
#include <istream>
#include <ostream>
#include <string>

namespace kvnode {

class MessageChannel {
public:
    MessageChannel(std::istream& in, std::ostream& out) : m_in(in), m_out(out) {}

    enum class Read { Message, BadHeader, End };
    // The next message's body. BadHeader: a header without a length the body
    // could be read by, whose lines were skipped; End: the input ended.
    Read Next(std::string& body);
    void Write(const std::string& body);

private:
    std::istream& m_in;
    std::ostream& m_out;
};

} // namespace kvnode
