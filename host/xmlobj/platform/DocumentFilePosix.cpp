#include "DocumentFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <poll.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMaxLinks = 40; // as many as Linux follows in one path

struct FileHandle {
    int fd;
    explicit FileHandle(int f) : fd(f) {}
    ~FileHandle()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

bool Fail(std::string& why, const std::string& reason)
{
    why = reason;
    return false;
}

bool FailErrno(std::string& why, int err) { return Fail(why, std::strerror(err)); }

std::string TooLarge(std::size_t maxSize)
{
    return "larger than the limit of " + std::to_string(maxSize) + " bytes";
}

// ---- replacing ---------------------------------------------------------------

// The file a save replaces: path with its symbolic links followed one by
// one, also to a file that does not exist yet, so that the link stays a link.
bool FollowLinks(std::string& path, std::string& why)
{
    struct stat st;
    for (int hops = 0; ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode); ++hops) {
        if (hops == kMaxLinks)
            return FailErrno(why, ELOOP);
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), link, sizeof link);
        if (n < 0)
            return FailErrno(why, errno);
        const std::string target(link, static_cast<size_t>(n));
        const size_t slash = path.rfind('/');
        path = target[0] == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    return true;
}

// Why an existing file cannot be replaced without breaking a promise, or empty.
std::string Unreplaceable(const char* path, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        return "is a directory";
    if (!S_ISREG(st.st_mode))
        return "is not a regular file (a device, FIFO or socket), and only regular files are replaced";
    if (st.st_nlink > 1)
        return "the file has " + std::to_string(st.st_nlink - 1) +
               " other name(s) (hard links), which a save would separate from it";
    // a plain write to the file would be refused
    if (::faccessat(AT_FDCWD, path, W_OK, AT_EACCESS) != 0)
        return std::strerror(errno);
    return std::string();
}

// the prefix of the temporaries of the file name in dir
std::string TempPrefix(const std::string& dir, const std::string& name)
{
    const long longest = ::pathconf(dir.empty() ? "." : dir.c_str(), _PC_NAME_MAX);
    return DocumentFile::TemporaryPrefix(name, longest > 0 ? static_cast<size_t>(longest) : size_t{NAME_MAX});
}

// The pid in "<prefix><pid>-<n>.tmp", or 0 when entry is no temporary with that prefix.
pid_t TempOwner(const std::string& entry, const std::string& prefix)
{
    if (entry.compare(0, prefix.size(), prefix) != 0 || entry.size() < 4 ||
        entry.compare(entry.size() - 4, 4, ".tmp") != 0)
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(entry.c_str() + prefix.size(), &end, 10);
    return *end == '-' && pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

// Temporaries that a save killed part way left behind; never another live save's.
void RemoveStaleTemporaries(const std::string& dir, const std::string& prefix)
{
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return;
    while (const dirent* e = ::readdir(d)) {
        const pid_t pid = TempOwner(e->d_name, prefix);
        if (pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH)
            ::unlinkat(::dirfd(d), e->d_name, 0);
    }
    ::closedir(d);
}

// a new temporary beside the target; a new file is created with the mode a plain create gives
int CreateTemporary(const std::string& dir, const std::string& prefix, bool forNewFile, std::string& temp)
{
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir + prefix + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, forNewFile ? 0666 : 0600);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// the names of a file's extended attributes (ACLs among them); false only on an error
bool AttributeNames(const std::string& path, int fd, std::vector<std::string>& names)
{
    names.clear();
    for (;;) {
        const ssize_t size = fd >= 0 ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP;
        std::string list(static_cast<size_t>(size), '\0');
        const ssize_t n = fd >= 0 ? ::flistxattr(fd, &list[0], list.size()) : ::listxattr(path.c_str(), &list[0], list.size());
        if (n < 0 && errno == ERANGE)
            continue; // grew meanwhile
        if (n < 0)
            return false;
        for (size_t at = 0; at < static_cast<size_t>(n); at += names.back().size() + 1)
            names.emplace_back(list.c_str() + at);
        return true;
    }
}

bool AttributeValue(const std::string& path, int fd, const std::string& name, std::string& value)
{
    for (;;) {
        const ssize_t size = fd >= 0 ? ::fgetxattr(fd, name.c_str(), nullptr, 0) : ::getxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0)
            return false;
        value.assign(static_cast<size_t>(size), '\0');
        const ssize_t n = fd >= 0 ? ::fgetxattr(fd, name.c_str(), &value[0], value.size())
                                  : ::getxattr(path.c_str(), name.c_str(), &value[0], value.size());
        if (n >= 0) {
            value.resize(static_cast<size_t>(n));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

// Gives the temporary exactly the old file's extended attributes: it may
// have gained some of its own, as the folder's default ACL.
bool CopyAttributes(const std::string& from, int to, std::string& why)
{
    std::vector<std::string> names, own;
    if (!AttributeNames(from, -1, names) || !AttributeNames(std::string(), to, own))
        return Fail(why, std::string("cannot list the file's extended attributes: ") + std::strerror(errno));
    std::string value, current;
    for (const std::string& name : names) {
        if (!AttributeValue(from, -1, name, value))
            return Fail(why, "cannot read the extended attribute " + name + ": " + std::strerror(errno));
        if (AttributeValue(std::string(), to, name, current) && current == value)
            continue;
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return Fail(why, "cannot keep the extended attribute " + name + ": " + std::strerror(errno));
    }
    for (const std::string& name : own)
        if (std::find(names.begin(), names.end(), name) == names.end() && ::fremovexattr(to, name.c_str()) != 0)
            return Fail(why, "cannot drop the extended attribute " + name + ": " + std::strerror(errno));
    return true;
}

// The owner, group, mode and extended attributes of the old file onto the
// new one; a save must not hand the file to another user.
bool CopyOwnership(const std::string& from, const struct stat& old, int to, std::string& why)
{
    struct stat now;
    if (::fstat(to, &now) != 0)
        return FailErrno(why, errno);
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(to, old.st_uid, old.st_gid) != 0)
        return Fail(why, "cannot keep the file's owner and group (" + std::to_string(old.st_uid) + ":" +
                             std::to_string(old.st_gid) + "): " + std::strerror(errno));
    // after the owner: a change of owner clears the set-id bits
    if (::fchmod(to, old.st_mode & 07777) != 0)
        return Fail(why, std::string("cannot keep the file's mode: ") + std::strerror(errno));
    return CopyAttributes(from, to, why);
}

bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// the temporary's text on disk, renamed over the target, the rename on disk
bool WriteAndRename(int fd, const std::string& temp, const std::string& target, const std::string& dir,
                    const std::string& text, std::string& why)
{
    if (!WriteAll(fd, text) || ::fsync(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0)
        return FailErrno(why, errno);
    const FileHandle folder(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.fd >= 0)
        ::fsync(folder.fd); // the new text is saved either way; only a crash now could bring back the old
    return true;
}

} // namespace

bool DocumentFile::Replace(const char* path, const std::string& text, std::string& why)
{
    struct stat st;
    const bool exists = ::stat(path, &st) == 0;
    if (!exists && errno != ENOENT)
        return FailErrno(why, errno);
    const std::string reason = exists ? Unreplaceable(path, st) : std::string();
    if (!reason.empty())
        return Fail(why, reason);
    std::string target = path;
    if (!FollowLinks(target, why))
        return false;
    struct stat found;
    if (exists && (::lstat(target.c_str(), &found) != 0 || found.st_dev != st.st_dev || found.st_ino != st.st_ino))
        return Fail(why, "the links lead to no file that a save could replace");
    const size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string prefix = TempPrefix(dir, target.substr(dir.size()));
    RemoveStaleTemporaries(dir, prefix);

    std::string temp;
    const FileHandle file(CreateTemporary(dir, prefix, !exists, temp));
    if (file.fd < 0)
        return FailErrno(why, errno);
    if ((exists && !CopyOwnership(target, st, file.fd, why)) || !WriteAndRename(file.fd, temp, target, dir, text, why)) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

// ---- reading -----------------------------------------------------------------

namespace {

// Reads fd to its end; st is what fstat said of it.
bool ReadAll(int fd, const struct stat& st, std::size_t maxSize, std::string& data, std::string& why)
{
    if (S_ISDIR(st.st_mode))
        return Fail(why, "is a directory, not a file");
    const bool regular = S_ISREG(st.st_mode);
    if (regular && static_cast<unsigned long long>(st.st_size) > maxSize)
        return Fail(why, TooLarge(maxSize));
    try {
        data.clear();
        if (regular)
            data.reserve(static_cast<size_t>(st.st_size)); // grown, a large file would be copied as it doubles
        char buf[1 << 16];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return FailErrno(why, errno);
            if (n == 0 && data.empty() && S_ISFIFO(st.st_mode))
                return Fail(why, "nothing to read: the pipe or FIFO is empty, or no process writes to it");
            if (n == 0)
                return true;
            if (data.size() + static_cast<size_t>(n) > maxSize)
                return Fail(why, TooLarge(maxSize));
            data.append(buf, static_cast<size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        data = std::string();
        return Fail(why, "not enough memory to hold the file");
    }
}

// Until a writer has written or closed: before any writer came, a FIFO opened
// without blocking polls as neither readable nor hung up.
bool WaitForWriter(int fd)
{
    struct pollfd entry = {fd, POLLIN, 0};
    int n;
    while ((n = ::poll(&entry, 1, -1)) < 0 && errno == EINTR) {
    }
    return n > 0;
}

} // namespace

bool DocumentFile::Read(const char* path, std::size_t maxSize, std::string& data, std::string& why)
{
    // O_NONBLOCK so that the open itself cannot hang; a FIFO is then waited on
    // for its writer, as cat does: refusing one whose writer has not opened it
    // yet would race with `cat file > fifo & kvnode check fifo`
    const FileHandle file(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0)
        return FailErrno(why, errno);
    if (S_ISFIFO(st.st_mode) && !WaitForWriter(file.fd))
        return FailErrno(why, errno);
    if (!S_ISDIR(st.st_mode))
        ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
    return ReadAll(file.fd, st, maxSize, data, why);
}

bool DocumentFile::ReadStandardInput(std::size_t maxSize, std::string& data, std::string& why)
{
    struct stat st;
    if (::fstat(STDIN_FILENO, &st) != 0)
        return FailErrno(why, errno);
    return ReadAll(STDIN_FILENO, st, maxSize, data, why);
}
