#pragma once
// Makes writes past a size fail with EFBIG for as long as it lives, the way a
// full disk fails a save half-way. Root is not exempt from it.

#include <csignal>

#if defined(_WIN32)

// Windows has no such limit; tests that need one skip themselves there.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long) {}
    bool Active() const { return false; }
};

#else

#include <sys/resource.h>

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    bool Active() const { return active_; }

private:
    struct rlimit old_ {};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};

#endif
