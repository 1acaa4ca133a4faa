#include "platform/atomic_file.h"

#include "core/stream.h"
#include "platform/fd_io.h"
#include "platform/paths.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kTemporaryInfix = ".tmp-";
constexpr std::size_t kRandomLength = 6;

std::string FolderOf(const std::string& FileName) {
    const std::string Folder = ExtractFilePath(FileName);
    return Folder.empty() ? std::string("./") : Folder;
}

std::string RandomLetters() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char Bytes[kRandomLength] = {};
    if (::getrandom(Bytes, sizeof Bytes, 0) != static_cast<ssize_t>(sizeof Bytes)) {
        // Without the kernel's random source the process id and a counter still give names
        // that differ between writers; a clash only costs another attempt.
        static unsigned Counter = 0;
        unsigned Seed = static_cast<unsigned>(::getpid()) * 2654435761U + ++Counter * 40503U;
        for (unsigned char& B : Bytes) {
            B = static_cast<unsigned char>(Seed >> 24);
            Seed = Seed * 1103515245U + 12345U;
        }
    }
    std::string Result;
    for (const unsigned char B : Bytes) {
        Result += kAlphabet[B % (sizeof kAlphabet - 1)];
    }
    return Result;
}

bool SameFile(const struct stat& A, const struct stat& B) {
    return A.st_dev == B.st_dev && A.st_ino == B.st_ino;
}

// Flushes a folder's entries to disk, so that a rename in it survives a crash.
void SyncFolder(const std::string& Folder) {
    const int Handle = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Handle >= 0) {
        ::fsync(Handle);
        ::close(Handle);
    }
}

// Renames From to To unless To exists. File systems that cannot rename without replacing get a
// hard link instead; those without hard links (FAT) a check before the rename.
void RenameNoReplace(const std::string& From, const std::string& To) {
    if (::renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        throw EFCreateError(To, errno);
    }
    if (::link(From.c_str(), To.c_str()) == 0) {
        ::unlink(From.c_str());
        return;
    }
    if (errno != EPERM && errno != EOPNOTSUPP) {
        throw EFCreateError(To, errno);
    }
    struct stat Info {};
    if (::lstat(To.c_str(), &Info) == 0) {
        throw EFCreateError(To, EEXIST);
    }
    if (::rename(From.c_str(), To.c_str()) != 0) {
        throw EFCreateError(To, errno);
    }
}

// A locked temporary file beside a target, removed unless committed. Its failures name the
// target.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const std::string& Target) : FTarget(Target) {}
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() { Discard(); }

    int Handle() const { return FHandle.Get(); }

    // Creates and locks a fresh temporary file.
    void Create() {
        const std::string Prefix =
            FolderOf(FTarget) + "." + ExtractFileName(FTarget) + std::string(kTemporaryInfix);
        for (int Attempt = 0; Attempt < 100; ++Attempt) {
            FName = Prefix + RandomLetters();
            FHandle =
                TFileDescriptor(::open(FName.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!FHandle.IsOpen()) {
                if (errno == EEXIST) {
                    continue;
                }
                throw EFCreateError(FTarget, errno);
            }
            // Until the lock is held, another writer's clean-up may take the file for a stale
            // one and remove it: then start again under another name.
            struct stat Opened {
            }, Named{};
            if (::flock(Handle(), LOCK_EX | LOCK_NB) == 0 && ::fstat(Handle(), &Opened) == 0 &&
                ::lstat(FName.c_str(), &Named) == 0 && SameFile(Opened, Named)) {
                return;
            }
            FHandle.Close();
        }
        throw EFCreateError(FTarget, EEXIST);
    }

    // Flushes the contents with the permission bits Mode (none: as created) and renames the
    // file to the target's name.
    void Commit(TReplaceMode ReplaceMode, int Mode) {
        if ((Mode >= 0 && ::fchmod(Handle(), static_cast<mode_t>(Mode)) != 0) ||
            ::fsync(Handle()) != 0) {
            throw EFCreateError(FTarget, errno);
        }
        if (ReplaceMode == TReplaceMode::rmFailIfExists) {
            RenameNoReplace(FName, FTarget);
        } else if (::rename(FName.c_str(), FTarget.c_str()) != 0) {
            throw EFCreateError(FTarget, errno);
        }
        FName.clear();
        SyncFolder(FolderOf(FTarget));
        FHandle.Close(); // releases the lock
    }

private:
    void Discard() {
        if (!FName.empty()) {
            ::unlink(FName.c_str());
            FName.clear();
        }
        FHandle.Close();
    }

    std::string FTarget;
    std::string FName;
    TFileDescriptor FHandle;
};

// The permission bits the new file takes over for Mode: those of an existing target when it
// is replaced, else none (the bits of creation stay).
int InheritedMode(const std::string& FileName, TReplaceMode Mode) {
    struct stat Info {};
    if (Mode == TReplaceMode::rmReplace && ::stat(FileName.c_str(), &Info) == 0) {
        return static_cast<int>(Info.st_mode & 07777);
    }
    return -1;
}

} // namespace

bool IsTemporaryFileOf(std::string_view Name, std::string_view Target) {
    const std::size_t PrefixLength = 1 + Target.size() + kTemporaryInfix.size();
    return Name.size() == PrefixLength + kRandomLength && Name.front() == '.' &&
           Name.substr(1, Target.size()) == Target &&
           Name.substr(1 + Target.size(), kTemporaryInfix.size()) == kTemporaryInfix;
}

void RemoveStaleTemporaryFiles(const std::string& FileName) {
    const std::string Folder = FolderOf(FileName);
    const std::string Target = ExtractFileName(FileName);
    DIR* Listing = ::opendir(Folder.c_str());
    if (Listing == nullptr) {
        return;
    }
    while (const dirent* Entry = ::readdir(Listing)) {
        if (!IsTemporaryFileOf(Entry->d_name, Target)) {
            continue;
        }
        const std::string Name = Folder + Entry->d_name;
        const int Handle = ::open(Name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (Handle < 0) {
            continue;
        }
        // A file still locked belongs to a live writer. One that was renamed into place after
        // it was opened is no temporary file any more: only the name is removed, and only while
        // it still names the file that was found unlocked.
        struct stat Opened {
        }, Named{};
        if (::flock(Handle, LOCK_EX | LOCK_NB) == 0 && ::fstat(Handle, &Opened) == 0 &&
            ::lstat(Name.c_str(), &Named) == 0 && SameFile(Opened, Named)) {
            ::unlink(Name.c_str());
        }
        ::close(Handle);
    }
    ::closedir(Listing);
}

void WriteFileAtomically(const std::string& FileName, std::string_view Data, TReplaceMode Mode) {
    RemoveStaleTemporaryFiles(FileName);
    TTemporaryFile File(FileName);
    File.Create();
    WriteAll(File.Handle(), Data, FileName);
    File.Commit(Mode, InheritedMode(FileName, Mode));
}

void CopyFileAtomically(const std::string& Existing, const std::string& New, TReplaceMode Mode) {
    const TCopySource Source = OpenCopySource(Existing, New);
    RemoveStaleTemporaryFiles(New);
    TTemporaryFile File(New);
    File.Create();
    CopyContents(Source.Handle.Get(), File.Handle(), New);
    File.Commit(Mode, static_cast<int>(Source.Info.st_mode & 0777));
}
