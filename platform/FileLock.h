#pragma once
// An advisory lock on a theme file for a read-modify-write, shared by every
// writer of theme files: the editor's Save and lsthtool set. Saves replace the
// file by renaming a new one over it, so the lock is taken on the file the
// path names at that moment and taken again should the path have moved on
// meanwhile. A file that does not exist yet is locked through its folder, so
// two writers creating it exclude each other too.

#include <string>

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock on the file at `path` (links followed), at most
    // waitMs milliseconds, or for as long as it takes when waitMs is negative.
    // False and the reason when it cannot be had.
    bool Acquire(const std::string& path, std::string* error, int waitMs = -1);
    // Lets it go before the object ends.
    void Release();

private:
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};
