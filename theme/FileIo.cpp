#include "FileIo.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Messages leave the file name to the caller, which knows what the user typed.
void SetError(std::string* error, const std::string& what, int err)
{
    if (error)
        *error = what + ": " + std::strerror(err);
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows a chain of symbolic links to the file that is really written.
bool ResolveLinks(const std::string& path, std::string& target, std::string* error)
{
    target = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char buffer[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), buffer, sizeof buffer - 1);
        if (n < 0) {
            SetError(error, "cannot read link", errno);
            return false;
        }
        buffer[n] = '\0';
        const std::string link(buffer, static_cast<std::size_t>(n));
        target = (link[0] == '/') ? link : DirectoryOf(target) + "/" + link;
    }
    SetError(error, "too many links", ELOOP);
    return false;
}

bool WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t CurrentUmask()
{
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

FileReadStatus ReadFileLimited(const std::string& path, std::size_t maxBytes, std::string& bytes,
                               std::string* error)
{
    bytes.clear();
    // O_NONBLOCK so that a FIFO or device node given by mistake cannot hang the
    // open; only regular files are read.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        SetError(error, "cannot open", err);
        return err == ENOENT ? FileReadStatus::Missing : FileReadStatus::Unreadable;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        SetError(error, "not a regular file", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        close(fd);
        return FileReadStatus::Unreadable;
    }
    // The size can change under us, so the read loop enforces the bound as well.
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        SetError(error, "larger than " + std::to_string(maxBytes) + " bytes", EFBIG);
        close(fd);
        return FileReadStatus::TooLarge;
    }
    char chunk[16384];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, "cannot read", errno);
            close(fd);
            bytes.clear();
            return FileReadStatus::Unreadable;
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            SetError(error, "larger than " + std::to_string(maxBytes) + " bytes", EFBIG);
            close(fd);
            bytes.clear();
            return FileReadStatus::TooLarge;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    close(fd);
    return FileReadStatus::Ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    std::string target;
    if (!ResolveLinks(path, target, error))
        return false;

    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        SetError(error, "not a regular file", S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());

    const std::size_t slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = DirectoryOf(target) + "/." + name + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        SetError(error, "cannot create a temporary file", errno);
        return false;
    }
    bool ok = fchmod(fd, mode) == 0;
    int err = ok ? 0 : errno;
    if (ok && !WriteAll(fd, bytes)) {
        ok = false;
        err = errno;
    }
    if (ok && fsync(fd) != 0) {
        ok = false;
        err = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        SetError(error, "cannot write", err);
        return false;
    }
    // Make the rename itself durable; the new content is complete either way.
    const int dirFd = open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return true;
}
