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

namespace {

std::string BaseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Flushes the folder, so a rename in it is durable too.
void SyncDirectory(const std::string& dir)
{
    const int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
}

// A new file in the target's folder with the bytes, flushed; its name in `temp`.
// The caller renames or removes it. errno on failure.
bool WriteTemporary(const std::string& target, const std::string& bytes, mode_t mode, const struct stat* owner,
                    std::string& temp, bool& ownerKept)
{
    // Beside the target, named after it where that name still fits the
    // folder's limit, else a short one of its own.
    const std::string base = BaseName(target);
    temp = DirectoryOf(target) + (base.size() + 8 <= 255 ? "/." + base + ".XXXXXX" : std::string("/.lsth-XXXXXX"));
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    // Ownership first: changing it clears set-id bits, which the mode then restores.
    ownerKept = !owner || (owner->st_uid == geteuid() && owner->st_gid == getegid()) ||
                fchown(fd, owner->st_uid, owner->st_gid) == 0;
    bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && fsync(fd) == 0;
    int err = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        errno = err;
    }
    return ok;
}

// Writes bytes over the file's own content: for a file whose identity must
// stay (hard links to it, an owner we cannot give a new file). The old content
// is copied aside first and put back if the write fails half-way.
bool WriteInPlace(const std::string& target, const std::string& bytes, mode_t mode, std::string* error)
{
    std::string old;
    if (ReadFileLimited(target, std::string::npos / 2, old, error) != FileReadStatus::Ok)
        return false;
    std::string backup;
    bool unused = true;
    if (!WriteTemporary(target, old, mode & 0600, nullptr, backup, unused)) {
        SetError(error, "cannot copy the file aside", errno);
        return false;
    }
    const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "cannot open for writing", errno);
        unlink(backup.c_str());
        return false;
    }
    const auto put = [fd](const std::string& content) {
        return lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, content) &&
               ftruncate(fd, static_cast<off_t>(content.size())) == 0 && fsync(fd) == 0;
    };
    if (put(bytes)) {
        close(fd);
        unlink(backup.c_str());
        return true;
    }
    const int err = errno;
    const bool restored = put(old);
    close(fd);
    if (restored) {
        unlink(backup.c_str());
        SetError(error, "cannot write", err);
    } else {
        // The copy aside is now the only whole version: say where it is.
        SetError(error, "cannot write; the old content is in " + backup, err);
    }
    return false;
}

}  // namespace

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
    // A file the user may not write is not replaced, even where its folder
    // would allow it; a file with no write permission for anyone is read-only
    // for root too.
    if (exists && (access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
        SetError(error, "the file is read-only", EACCES);
        return false;
    }
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (exists && old.st_nlink > 1)
        return WriteInPlace(target, bytes, mode, error);

    std::string temp;
    bool ownerKept = true;
    if (!WriteTemporary(target, bytes, mode, exists ? &old : nullptr, temp, ownerKept)) {
        SetError(error, "cannot write", errno);
        return false;
    }
    if (!ownerKept) {
        // A new file would change hands; write the old one in place instead.
        unlink(temp.c_str());
        return WriteInPlace(target, bytes, mode, error);
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        unlink(temp.c_str());
        SetError(error, "cannot write", err);
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}
