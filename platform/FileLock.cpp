#include "FileLock.h"

#include <chrono>
#include <thread>

namespace {

// Polls a lock that cannot be had at once until the deadline; a negative
// wait means the blocking call is used instead.
template <typename TryLock>
bool LockWithin(int waitMs, TryLock tryLock)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (tryLock())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

#if defined(_WIN32)

#include "WindowsText.h"

// Windows locks a byte range of an open handle; saves replace the file with
// ReplaceFileW, which keeps its identity well enough for a lock on the path.
// A file that does not exist yet is locked through a companion file, which
// goes when the last writer holding it closes it.
FileLock::~FileLock() { Release(); }

void FileLock::Release()
{
    if (handle_) {
        OVERLAPPED whole{};
        UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &whole);
        CloseHandle(handle_);
        handle_ = nullptr;
    }
}

bool FileLock::Acquire(const std::string& path, std::string* error, int waitMs)
{
    Release();
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE h = CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            return true;  // the load or the save says what is wrong
        h = CreateFileW(Utf16FromUtf8(path + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return true;  // a folder we cannot write: the save will say so
    }
    const auto tryLock = [&](DWORD flags) {
        OVERLAPPED whole{};
        return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | flags, 0, MAXDWORD, MAXDWORD, &whole) != 0;
    };
    const bool locked = waitMs < 0 ? tryLock(0) : LockWithin(waitMs, [&] { return tryLock(LOCKFILE_FAIL_IMMEDIATELY); });
    if (!locked) {
        if (error)
            *error = waitMs < 0 ? "cannot lock (error " + std::to_string(GetLastError()) + ")"
                                : "cannot lock: another program is writing the file";
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

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool LockDescriptor(int fd, int waitMs)
{
    if (waitMs < 0) {
        int rc;
        while ((rc = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        return rc == 0;
    }
    return LockWithin(waitMs, [fd] { return flock(fd, LOCK_EX | LOCK_NB) == 0; });
}

}  // namespace

FileLock::~FileLock() { Release(); }

void FileLock::Release()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

bool FileLock::Acquire(const std::string& path, std::string* error, int waitMs)
{
    Release();
    const auto fail = [error](const char* what) {
        if (error)
            *error = errno == EWOULDBLOCK ? std::string("cannot lock: another program is writing the file")
                                          : std::string(what) + std::strerror(errno);
        return false;
    };
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno != ENOENT)
            return fail("cannot open: ");
        if (fd < 0) {
            // Not there yet: its folder stands in for it while it is created.
            const int folder = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (folder < 0)
                return true;  // the save will say what is wrong with the folder
            if (!LockDescriptor(folder, waitMs)) {
                const bool failed = fail("cannot lock: ");
                close(folder);
                return failed;
            }
            struct stat now {};
            if (stat(path.c_str(), &now) != 0 && errno == ENOENT) {
                fd_ = folder;
                return true;
            }
            close(folder);  // created while we waited: lock the file itself
            continue;
        }
        struct stat held {};
        if (fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            close(fd);
            return true;  // not a file to lock; the load says what is wrong with it
        }
        if (!LockDescriptor(fd, waitMs)) {
            const bool failed = fail("cannot lock: ");
            close(fd);
            return failed;
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
