#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A disk image file held open for reading, or for reading and writing. Failures raise
// EDiskImage with a message that names the file.
class TImageFile {
public:
    enum class TAccess { aRead, aReadWrite };

    TImageFile(std::string FileName, TAccess Access);
    TImageFile(const TImageFile&) = delete;
    TImageFile& operator=(const TImageFile&) = delete;
    ~TImageFile();

    const std::string& FileName() const { return FFileName; }
    int Handle() const { return FHandle; }
    std::uint64_t Size() const { return FSize; }

    // Exactly Count bytes from Offset.
    void ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) const;
    // Flushes everything written to the file, by this process or by another, to the disk.
    void Sync() const;

private:
    std::string FFileName;
    int FHandle = -1;
    std::uint64_t FSize = 0;
};
