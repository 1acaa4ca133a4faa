#pragma once

#include <csignal>
#include <sys/resource.h>

// Limits the size of the files this process writes for the time of a test, as a full disk
// would: a write past the limit fails with EFBIG (the signal it would raise is ignored). Ok() is
// false when the limit cannot be set; the test should then skip.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        struct sigaction Ignore {};
        Ignore.sa_handler = SIG_IGN;
        if (::getrlimit(RLIMIT_FSIZE, &FOldLimit) != 0 ||
            ::sigaction(SIGXFSZ, &Ignore, &FOldAction) != 0) {
            return;
        }
        struct rlimit Limited = FOldLimit;
        Limited.rlim_cur = Bytes;
        FOk = ::setrlimit(RLIMIT_FSIZE, &Limited) == 0;
        FActionSaved = true;
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
    ~TFileSizeLimit() {
        if (FOk) {
            ::setrlimit(RLIMIT_FSIZE, &FOldLimit);
        }
        if (FActionSaved) {
            ::sigaction(SIGXFSZ, &FOldAction, nullptr);
        }
    }
    bool Ok() const { return FOk; }

private:
    struct rlimit FOldLimit {};
    struct sigaction FOldAction {};
    bool FActionSaved = false;
    bool FOk = false;
};
