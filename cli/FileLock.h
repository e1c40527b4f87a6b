#pragma once
// An advisory lock on a theme file for a read-modify-write. Saves replace the
// file by renaming a new one over it, so the lock is taken on the file the
// path names at that moment and taken again should the path have moved on
// meanwhile.

#include <string>

class FileLock {
public:
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Waits for the lock on the file at `path` (links followed). A file that
    // does not exist yet needs no lock. False and the reason when it cannot be had.
    bool Acquire(const std::string& path, std::string* error);

private:
#if defined(_WIN32)
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};
