#include "lsp/MessageChannel.h"

#include <cctype>
#include <cstdlib>

namespace kvnode {

namespace {

// the header's field names are case-insensitive, as HTTP's
bool IsLengthField(const std::string& line, std::string& value)
{
    static const std::string kName = "content-length:";
    if (line.size() < kName.size())
        return false;
    for (size_t i = 0; i < kName.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i])
            return false;
    value = line.substr(kName.size());
    return true;
}

} // namespace

MessageChannel::Read MessageChannel::Next(std::string& body)
{
    bool any = false, sized = false;
    size_t length = 0;
    std::string line;
    while (std::getline(m_in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty()) {
            if (!any)
                continue; // blank lines between messages
            if (!sized)
                return Read::BadHeader;
            body.assign(length, '\0');
            if (length && !m_in.read(&body[0], static_cast<std::streamsize>(length)))
                return Read::End;
            return Read::Message;
        }
        any = true;
        std::string value;
        if (IsLengthField(line, value)) {
            char* end = nullptr;
            const unsigned long long n = std::strtoull(value.c_str(), &end, 10);
            while (end && std::isspace(static_cast<unsigned char>(*end)))
                ++end;
            sized = end && *end == '\0' && value.find_first_of("0123456789") != std::string::npos &&
                    value.find('-') == std::string::npos && n < (1ULL << 31);
            length = static_cast<size_t>(n);
        }
    }
    return Read::End;
}

void MessageChannel::Write(const std::string& body)
{
    m_out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
    m_out.flush();
}

} // namespace kvnode
