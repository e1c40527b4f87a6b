#include "FileLock.h"

#if defined(_WIN32)

#include "WindowsText.h"

// Windows locks a byte range of an open handle; saves replace the file with
// ReplaceFileW, which keeps its identity well enough for a lock on the path.
FileLock::~FileLock()
{
    if (handle_) {
        OVERLAPPED whole{};
        UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &whole);
        CloseHandle(handle_);
    }
}

bool FileLock::Acquire(const std::string& path, std::string* error)
{
    HANDLE h = CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return true;  // nothing to lock yet, or the load says what is wrong
    OVERLAPPED whole{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        if (error)
            *error = "cannot lock (error " + std::to_string(GetLastError()) + ")";
        CloseHandle(h);
        return false;
    }
    handle_ = h;
    return true;
}

#else

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::~FileLock()
{
    if (fd_ >= 0)
        close(fd_);
}

bool FileLock::Acquire(const std::string& path, std::string* error)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ENOENT)
                return true;
            if (error)
                *error = std::string("cannot open: ") + std::strerror(errno);
            return false;
        }
        struct stat held {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            return true;  // not a file to lock; the load says what is wrong with it
        }
        int rc;
        while ((rc = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0) {
            if (error)
                *error = std::string("cannot lock: ") + std::strerror(errno);
            close(fd);
            return false;
        }
        struct stat now {};
        if (stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev && now.st_ino == held.st_ino) {
            fd_ = fd;
            return true;
        }
        close(fd);  // replaced while we waited: lock the new file
    }
    if (error)
        *error = "cannot lock: the file keeps being replaced";
    return false;
}

#endif
