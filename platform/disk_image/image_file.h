#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A disk image file held open for reading, or for reading and writing. Failures raise
// EDiskImage with a message that names the file.
class TImageFile {
public:
    enum class TAccess { aRead, aReadWrite };

    // Opens FileName; messages name the image ShownName (FileName when empty), the file the user
    // knows when FileName is a view of it.
    TImageFile(std::string FileName, TAccess Access, std::string ShownName = {});
    TImageFile(const TImageFile&) = delete;
    TImageFile& operator=(const TImageFile&) = delete;
    ~TImageFile();

    // The image as messages name it.
    const std::string& FileName() const { return FShownName; }
    int Handle() const { return FHandle; }
    std::uint64_t Size() const { return FSize; }

    // Exactly Count bytes from Offset.
    void ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) const;
    // Flushes everything written to the file, by this process or by another, to the disk.
    void Sync() const;

private:
    std::string FFileName;
    std::string FShownName;
    int FHandle = -1;
    std::uint64_t FSize = 0;
};
