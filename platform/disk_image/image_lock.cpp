#include "platform/disk_image/image_lock.h"

#include "platform/disk_image/disk_image_error.h"
#include "platform/disk_image/image_file.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <thread>
#include <vector>

namespace {

constexpr off_t kPermissionBase = 100;
constexpr off_t kUnsharedBase = 200;
constexpr off_t kConsistentRead = 0;
constexpr off_t kWrite = 1;
constexpr off_t kResize = 3;

// The byte through which runs of Vespera take turns ("VESP").
constexpr off_t kTurnByte = 0x56455350;
constexpr auto kTurnWait = std::chrono::seconds(60);
constexpr auto kTurnPoll = std::chrono::milliseconds(20);

struct TLockSet {
    std::vector<off_t> Held;     // bytes locked (shared)
    std::vector<off_t> Conflict; // bytes that nobody else may hold
};

TLockSet LocksFor(TImageLock::TUse Use) {
    const std::vector<off_t> Permissions = Use == TImageLock::TUse::uWrite
                                               ? std::vector<off_t>{kConsistentRead, kWrite}
                                               : std::vector<off_t>{kConsistentRead};
    const std::vector<off_t> Unshared = {kWrite, kResize};
    TLockSet Set;
    for (const off_t Bit : Permissions) {
        Set.Held.push_back(kPermissionBase + Bit);
        Set.Conflict.push_back(kUnsharedBase + Bit);
    }
    for (const off_t Bit : Unshared) {
        Set.Held.push_back(kUnsharedBase + Bit);
        Set.Conflict.push_back(kPermissionBase + Bit);
    }
    return Set;
}

struct flock OneByte(short Type, off_t Offset) {
    struct flock Lock {};
    Lock.l_type = Type;
    Lock.l_whence = SEEK_SET;
    Lock.l_start = Offset;
    Lock.l_len = 1;
    return Lock;
}

// Sets or clears a lock of one byte: 0, or the system's error number when it cannot.
int SetLock(int Handle, short Type, off_t Offset) {
    struct flock Lock = OneByte(Type, Offset);
    return ::fcntl(Handle, F_OFD_SETLK, &Lock) == 0 ? 0 : errno;
}

[[noreturn]] void RefuseLock(const TImageFile& Image, int Error) {
    throw ImageSystemFailure(Image.FileName(), "cannot be locked", Error);
}

// Whether another open file holds a lock on the byte at Offset.
bool HeldByOthers(int Handle, off_t Offset) {
    struct flock Lock = OneByte(F_WRLCK, Offset);
    return ::fcntl(Handle, F_OFD_GETLK, &Lock) == 0 && Lock.l_type != F_UNLCK;
}

bool AnyHeldByOthers(int Handle, const std::vector<off_t>& Offsets) {
    for (const off_t Offset : Offsets) {
        if (HeldByOthers(Handle, Offset)) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void RefuseInUse(const TImageFile& Image) {
    throw EDiskImage(ImageInUseMessage(Image));
}

} // namespace

TImageLock::TImageLock(const TImageFile& Image, TUse Use) : FImage(Image), FUse(Use) {
    const int Handle = Image.Handle();
    const short TurnType = Use == TUse::uWrite ? F_WRLCK : F_RDLCK;
    const auto Deadline = std::chrono::steady_clock::now() + kTurnWait;
    while (const int Error = SetLock(Handle, TurnType, kTurnByte)) {
        if ((Error != EAGAIN && Error != EACCES) || std::chrono::steady_clock::now() > Deadline) {
            RefuseLock(Image, Error);
        }
        std::this_thread::sleep_for(kTurnPoll);
    }
    // The locks are taken before the test, as QEMU does, so that of a machine starting at this
    // moment and this run at least one sees the other.
    const TLockSet Set = LocksFor(Use);
    for (const off_t Offset : Set.Held) {
        if (const int Error = SetLock(Handle, F_RDLCK, Offset)) {
            Release();
            if (Error == EAGAIN || Error == EACCES) {
                RefuseInUse(Image);
            }
            RefuseLock(Image, Error);
        }
    }
    if (AnyHeldByOthers(Handle, Set.Conflict)) {
        Release();
        RefuseInUse(Image);
    }
}

TImageLock::~TImageLock() {
    Release();
}

void TImageLock::Release() {
    const int Handle = FImage.Handle();
    for (const off_t Offset : LocksFor(FUse).Held) {
        SetLock(Handle, F_UNLCK, Offset);
    }
    SetLock(Handle, F_UNLCK, kTurnByte);
}

std::string ImageInUseMessage(const TImageFile& Image) {
    return "The disk image \"" + Image.FileName() +
           "\" is in use by a running virtual machine; shut it down first.";
}

bool ImageInUse(const TImageFile& Image, TImageLock::TUse Use) {
    return AnyHeldByOthers(Image.Handle(), LocksFor(Use).Conflict);
}
