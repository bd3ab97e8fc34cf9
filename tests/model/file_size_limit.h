// A file-size limit while it lives, with the signal of a write past it
// ignored, so the write fails the way it does on a full disk.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace modeltest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        set_ = ::getrlimit(RLIMIT_FSIZE, &before_) == 0;
        struct rlimit small = before_;
        small.rlim_cur = bytes;
        set_ = set_ && ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit()
    {
        if (set_) ::setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool set() const { return set_; }

private:
    struct rlimit before_ {};
    void (*oldHandler_)(int);
    bool set_ = false;
};

}  // namespace modeltest
