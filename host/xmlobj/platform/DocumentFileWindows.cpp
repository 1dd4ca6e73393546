// The Windows file system. Differences from the POSIX code: a path is text
// in the ANSI code page (as the framework's own file functions take it);
// the kept metadata are the file attributes (read-only refuses the save, as
// a plain write would be refused); ReplaceFileW keeps the target's security
// descriptor, streams and creation time; hard links and reparse points
// (links) are refused rather than followed.
#include "DocumentFile.h"

#include <windows.h>

#include <atomic>
#include <new>
#include <string>

namespace {

// the longest name of a file NTFS takes, in UTF-16 units
constexpr size_t kLongestName = 255;

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

bool Fail(std::string& why, const std::string& reason)
{
    why = reason;
    return false;
}

std::string SystemMessage(DWORD error)
{
    char* text = nullptr;
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = n && text ? std::string(text, n) : "error " + std::to_string(error);
    ::LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.'))
        message.pop_back();
    return message;
}

bool FailLast(std::string& why) { return Fail(why, SystemMessage(::GetLastError())); }

std::string TooLarge(std::size_t maxSize)
{
    return "larger than the limit of " + std::to_string(maxSize) + " bytes";
}

// the path, a text in the ANSI code page, as the system's wide path
bool Wide(const char* path, std::wstring& wide, std::string& why)
{
    const int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (n <= 0)
        return Fail(why, "the path is not text in the system's code page");
    wide.resize(static_cast<size_t>(n));
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return true;
}

// Why an existing file cannot be replaced without breaking a promise, or empty.
std::string Unreplaceable(const std::wstring& path, DWORD attributes)
{
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "is a directory";
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return "is a link (reparse point), and only regular files are replaced";
    if (attributes & FILE_ATTRIBUTE_DEVICE)
        return "is not a regular file (a device), and only regular files are replaced";
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return "the file is read-only";
    const Handle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return SystemMessage(::GetLastError());
    if (::GetFileType(file.h) != FILE_TYPE_DISK)
        return "is not a regular file (a device, pipe or console), and only regular files are replaced";
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(file.h, &info) && info.nNumberOfLinks > 1)
        return "the file has " + std::to_string(info.nNumberOfLinks - 1) +
               " other name(s) (hard links), which a save would separate from it";
    return std::string();
}

size_t NameStart(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        return slash + 1;
    return path.size() >= 2 && path[1] == L':' ? 2 : 0;
}

// The pid in "<prefix><pid>-<n>.tmp", or 0 when entry is no temporary with that prefix.
DWORD TempOwner(const std::wstring& entry, const std::wstring& prefix)
{
    if (entry.compare(0, prefix.size(), prefix) != 0 || entry.size() < 4 || entry.compare(entry.size() - 4, 4, L".tmp") != 0)
        return 0;
    unsigned long long pid = 0;
    size_t at = prefix.size();
    while (at < entry.size() && entry[at] >= L'0' && entry[at] <= L'9' && pid <= 0xFFFFFFFFull)
        pid = pid * 10 + static_cast<unsigned>(entry[at++] - L'0');
    return at < entry.size() && entry[at] == L'-' && pid <= 0xFFFFFFFFull ? static_cast<DWORD>(pid) : 0;
}

bool ProcessIsGone(DWORD pid)
{
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    DWORD code = 0;
    const bool gone = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return gone;
}

// Temporaries that a save killed part way left behind; never another live save's.
void RemoveStaleTemporaries(const std::wstring& dir, const std::wstring& prefix)
{
    WIN32_FIND_DATAW entry;
    const HANDLE find = ::FindFirstFileW((dir + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const DWORD pid = TempOwner(entry.cFileName, prefix);
        if (pid > 0 && pid != ::GetCurrentProcessId() && ProcessIsGone(pid))
            ::DeleteFileW((dir + entry.cFileName).c_str());
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
}

HANDLE CreateTemporary(const std::wstring& dir, const std::wstring& prefix, DWORD attributes, std::wstring& temp)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir + prefix + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(serial++) + L".tmp";
        const HANDLE h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(data.size() - done > (1u << 30) ? (1u << 30) : data.size() - done);
        DWORD written = 0;
        if (!::WriteFile(file, data.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

bool DocumentFile::Replace(const char* path, const std::string& text, std::string& why)
{
    std::wstring target;
    if (!Wide(path, target, why))
        return false;
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return FailLast(why);
    const std::string reason = exists ? Unreplaceable(target, attributes) : std::string();
    if (!reason.empty())
        return Fail(why, reason);
    const std::wstring dir = target.substr(0, NameStart(target));
    const std::wstring prefix = DocumentFile::TemporaryPrefix(target.substr(dir.size()), kLongestName);
    RemoveStaleTemporaries(dir, prefix);

    // the temporary carries the old file's attributes (hidden, archive...)
    const DWORD kept = exists ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
                              : 0;
    std::wstring temp;
    bool written;
    {
        const Handle file(CreateTemporary(dir, prefix, kept ? kept : FILE_ATTRIBUTE_NORMAL, temp));
        if (file.h == INVALID_HANDLE_VALUE)
            return FailLast(why);
        written = WriteAll(file.h, text) && ::FlushFileBuffers(file.h);
        if (!written)
            FailLast(why);
    }
    // ReplaceFileW keeps the old file's identity, security and streams;
    // a new file is moved into place
    if (written && (exists ? ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                           : ::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)))
        return true;
    if (written)
        FailLast(why);
    ::DeleteFileW(temp.c_str());
    return false;
}

namespace {

// Reads file to its end: a disk file whole, a pipe or console as a stream.
bool ReadAll(HANDLE file, std::size_t maxSize, std::string& data, std::string& why)
{
    const bool regular = ::GetFileType(file) == FILE_TYPE_DISK;
    LARGE_INTEGER size{};
    if (regular && ::GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) > maxSize)
        return Fail(why, TooLarge(maxSize));
    try {
        data.clear();
        if (regular)
            data.reserve(static_cast<size_t>(size.QuadPart));
        char buf[1 << 16];
        for (;;) {
            DWORD n = 0;
            if (!::ReadFile(file, buf, sizeof buf, &n, nullptr)) {
                if (::GetLastError() == ERROR_BROKEN_PIPE)
                    n = 0; // the writer closed its end
                else
                    return FailLast(why);
            }
            if (n == 0 && data.empty() && !regular)
                return Fail(why, "nothing to read: the pipe is empty, or no process writes to it");
            if (n == 0)
                return true;
            if (data.size() + n > maxSize)
                return Fail(why, TooLarge(maxSize));
            data.append(buf, n);
        }
    } catch (const std::bad_alloc&) {
        data = std::string();
        return Fail(why, "not enough memory to hold the file");
    }
}

} // namespace

bool DocumentFile::Read(const char* path, std::size_t maxSize, std::string& data, std::string& why)
{
    std::wstring wide;
    if (!Wide(path, wide, why))
        return false;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(why, "is a directory, not a file");
    const Handle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.h == INVALID_HANDLE_VALUE)
        return FailLast(why);
    return ReadAll(file.h, maxSize, data, why);
}

bool DocumentFile::ReadStandardInput(std::size_t maxSize, std::string& data, std::string& why)
{
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == INVALID_HANDLE_VALUE || input == nullptr)
        return Fail(why, "there is no standard input");
    return ReadAll(input, maxSize, data, why);
}
