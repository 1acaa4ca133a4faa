#pragma once

#include "tests/platform/test_files.h"
#include "tests/support/random_bytes.h"
#include "tests/support/run_process.h"

#include <cstdint>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

// Disk images made and inspected with the field's own tools: sfdisk (fdisk), mkfs.fat and
// fsck.fat (dosfstools), mtools, qemu-img (qemu-utils).

// The names among Tools that are not installed, separated by blanks; empty when all are.
inline std::string MissingTools(const std::vector<std::string>& Tools) {
    std::string Missing;
    for (const std::string& Tool : Tools) {
        if (FindProgram(Tool).empty()) {
            Missing += (Missing.empty() ? "" : " ") + Tool;
        }
    }
    return Missing;
}

#define SKIP_WITHOUT_TOOLS(...)                                                                    \
    do {                                                                                           \
        const std::string Missing = MissingTools({__VA_ARGS__});                                   \
        if (!Missing.empty()) {                                                                    \
            GTEST_SKIP() << "not installed: " << Missing;                                          \
        }                                                                                          \
    } while (false)

constexpr std::uint64_t kSector = 512;

// One partition of a test image; FatBits 0 leaves it unformatted.
struct TTestPartition {
    int Number = 1;          // 1 to 4 primary, 5 and on logical
    std::uint64_t Start = 0; // in sectors
    std::uint64_t Sectors = 0;
    std::string Type; // sfdisk's hexadecimal type: "6", "c", "7", "5" (extended)
    int FatBits = 0;
    std::string Label;

    std::uint64_t Offset() const { return Start * kSector; }
    std::uint64_t Bytes() const { return Sectors * kSector; }
};

// Formats Sectors sectors from sector Start of Image as a FAT volume.
inline void MakeFat(const std::string& Image, std::uint64_t Start, std::uint64_t Sectors,
                    int FatBits, const std::string& Label) {
    std::vector<std::string> Argv = {"mkfs.fat", "-F", std::to_string(FatBits)};
    if (FatBits == 32) {
        Argv.insert(Argv.end(), {"-s", "1"});
    }
    if (!Label.empty()) {
        Argv.insert(Argv.end(), {"-n", Label});
    }
    Argv.insert(Argv.end(),
                {"--offset=" + std::to_string(Start), Image, std::to_string(Sectors / 2)});
    const TProcessResult Made = RunProcess(Argv);
    ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
}

// A raw image of Megabytes with an MBR holding Partitions (written by sfdisk), each formatted
// as its FatBits say.
inline void MakePartitionedImage(const std::string& Image, int Megabytes,
                                 const std::vector<TTestPartition>& Partitions) {
    ASSERT_EQ(RunProcess({"truncate", "-s", std::to_string(Megabytes) + "M", Image}).ExitCode, 0);
    std::string Script;
    for (const TTestPartition& Partition : Partitions) {
        Script += Image + std::to_string(Partition.Number) +
                  " : start=" + std::to_string(Partition.Start) +
                  ", size=" + std::to_string(Partition.Sectors) + ", type=" + Partition.Type + "\n";
    }
    WriteFile(Image + ".sfdisk", Script);
    const TProcessResult Written =
        RunProcess({"sh", "-c", "sfdisk -q \"$1\" < \"$2\"", "sh", Image, Image + ".sfdisk"});
    ASSERT_EQ(Written.ExitCode, 0) << Written.Err;
    for (const TTestPartition& Partition : Partitions) {
        if (Partition.FatBits != 0) {
            MakeFat(Image, Partition.Start, Partition.Sectors, Partition.FatBits, Partition.Label);
        }
    }
}

// A 1.44 MB floppy image: a FAT12 volume without a partition table.
inline void MakeFloppyImage(const std::string& Image) {
    const TProcessResult Made = RunProcess({"mkfs.fat", "-C", "-n", "BOOT", Image, "1440"});
    ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
}

// Runs an mtools program (Argv[0]) on the volume at Offset of Image, as drive "t:", with a
// configuration of the test's own.
inline TProcessResult Mtools(const std::string& Image, std::uint64_t Offset,
                             std::vector<std::string> Argv) {
    const std::string Configuration = Image + ".mtoolsrc";
    WriteFile(Configuration, "mtools_skip_check=1\ndrive t: file=\"" + Image +
                                 "\" offset=" + std::to_string(Offset) + "\n");
    Argv.insert(Argv.begin(), {"env", "MTOOLSRC=" + Configuration, "HOME=/dev/null"});
    return RunProcess(Argv);
}

// Makes the folder Path ("t:/WINDOWS") on the volume at Offset.
inline void MakeFolder(const std::string& Image, std::uint64_t Offset, const std::string& Path) {
    const TProcessResult Made = Mtools(Image, Offset, {"mmd", Path});
    ASSERT_EQ(Made.ExitCode, 0) << Made.Err;
}

// Puts Content as the file Path ("t:/WINDOWS/LOGOW.SYS") on the volume at Offset.
inline void PutFile(const std::string& Image, std::uint64_t Offset, const std::string& Path,
                    const std::string& Content) {
    const std::string Source = Image + ".put";
    WriteFile(Source, Content);
    const TProcessResult Put = Mtools(Image, Offset, {"mcopy", "-o", Source, Path});
    ASSERT_EQ(Put.ExitCode, 0) << Put.Err;
}

// The file Path of the volume at Offset as mtools reads it; ExitCode tells whether it exists.
inline TProcessResult GetFile(const std::string& Image, std::uint64_t Offset,
                              const std::string& Path) {
    return Mtools(Image, Offset, {"mcopy", "-n", Path, "-"});
}

// Size bytes from Offset of the file FileName (fewer at its end).
inline std::string ReadBytes(const std::string& FileName, std::uint64_t Offset,
                             std::uint64_t Size) {
    std::string Bytes(static_cast<std::size_t>(Size), '\0');
    const int Handle = ::open(FileName.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t Done = 0;
    while (Handle >= 0 && Done < Bytes.size()) {
        const ssize_t Count = ::pread(Handle, Bytes.data() + Done, Bytes.size() - Done,
                                      static_cast<off_t>(Offset + Done));
        if (Count <= 0) {
            break;
        }
        Done += static_cast<std::size_t>(Count);
    }
    if (Handle >= 0) {
        ::close(Handle);
    }
    Bytes.resize(Done);
    return Bytes;
}

// Writes Bytes at Offset of the file FileName.
inline void WriteBytes(const std::string& FileName, std::uint64_t Offset,
                       const std::string& Bytes) {
    const int Handle = ::open(FileName.c_str(), O_WRONLY | O_CLOEXEC);
    ASSERT_GE(Handle, 0) << FileName;
    const ssize_t Written =
        ::pwrite(Handle, Bytes.data(), Bytes.size(), static_cast<off_t>(Offset));
    ::close(Handle);
    ASSERT_EQ(Written, static_cast<ssize_t>(Bytes.size())) << FileName;
}

// The clusters of the file or folder Path ("t:/WINDOWS/LOGOW.SYS") of the volume at Offset, in
// the order of its chain, as mshowfat lists them ("<3-12 20-21>").
inline std::vector<std::uint32_t> ChainOf(const std::string& Image, std::uint64_t Offset,
                                          const std::string& Path) {
    const TProcessResult Shown = Mtools(Image, Offset, {"mshowfat", Path});
    EXPECT_EQ(Shown.ExitCode, 0) << Shown.Err;
    std::vector<std::uint32_t> Clusters;
    std::istringstream Runs(Shown.Out.substr(Shown.Out.find('<') + 1));
    std::string Run;
    while (Runs >> Run && Run != ">") {
        const auto First = static_cast<std::uint32_t>(std::stoul(Run));
        const std::size_t Dash = Run.find('-');
        const std::uint32_t Last =
            Dash == std::string::npos
                ? First
                : static_cast<std::uint32_t>(std::stoul(Run.substr(Dash + 1)));
        for (std::uint32_t Cluster = First; Cluster <= Last; ++Cluster) {
            Clusters.push_back(Cluster);
        }
    }
    return Clusters;
}

// Sets the entry of Cluster to Value in every FAT of the FAT12, FAT16 or FAT32 (FatBits) volume
// at Offset of Image, found from its boot sector, as damage would.
inline void SetFatEntry(const std::string& Image, std::uint64_t Offset, int FatBits,
                        std::uint32_t Cluster, std::uint32_t Value) {
    const std::string Boot = ReadBytes(Image, Offset, kSector);
    const auto Byte = [&](std::size_t At) { return static_cast<std::uint8_t>(Boot[At]); };
    const std::uint64_t BytesPerSector = Byte(11) | Byte(12) << 8;
    const std::uint64_t Reserved = Byte(14) | Byte(15) << 8;
    std::uint64_t FatSectors = Byte(22) | Byte(23) << 8;
    if (FatSectors == 0) {
        FatSectors =
            Byte(36) | Byte(37) << 8 | Byte(38) << 16 | static_cast<std::uint64_t>(Byte(39)) << 24;
    }
    const std::uint64_t At =
        static_cast<std::uint64_t>(Cluster) * static_cast<unsigned>(FatBits) / 8;
    for (unsigned Fat = 0; Fat < Byte(16); ++Fat) {
        const std::uint64_t Entry = Offset + (Reserved + Fat * FatSectors) * BytesPerSector + At;
        std::string Bytes = ReadBytes(Image, Entry, 4);
        std::uint32_t Old = 0;
        for (int I = 3; I >= 0; --I) {
            Old = Old << 8 | static_cast<std::uint8_t>(Bytes[static_cast<std::size_t>(I)]);
        }
        std::uint32_t New = Value;
        std::size_t Size = static_cast<std::size_t>(FatBits / 8);
        if (FatBits == 12) {
            // Two entries share three bytes: an odd cluster's entry is the high 12 of 16 bits.
            const unsigned Shift = (Cluster & 1) != 0 ? 4 : 0;
            New = (Old & ~(0xFFFU << Shift)) | (Value & 0xFFF) << Shift;
            Size = 2;
        } else if (FatBits == 32) {
            New = (Old & 0xF0000000) | (Value & 0x0FFFFFFF);
        }
        for (std::size_t I = 0; I < Size; ++I) {
            Bytes[I] = static_cast<char>(New >> (8 * I));
        }
        WriteBytes(Image, Entry, Bytes.substr(0, Size));
    }
}

// fsck.fat -n over a copy of the volume's bytes (Size bytes from Offset).
inline TProcessResult CheckVolume(const std::string& Image, std::uint64_t Offset,
                                  std::uint64_t Size) {
    const std::string Copy = Image + ".volume";
    WriteFile(Copy, ReadBytes(Image, Offset, Size));
    return RunProcess({"fsck.fat", "-n", Copy});
}

// Shared locks on single bytes of an image, taken through an open file of their own as a
// running QEMU takes them.
class TMachineLocks {
public:
    TMachineLocks(const std::string& Image, const std::vector<off_t>& Bytes)
        : FHandle(::open(Image.c_str(), O_RDONLY | O_CLOEXEC)) {
        for (const off_t Byte : Bytes) {
            struct flock Lock {};
            Lock.l_type = F_RDLCK;
            Lock.l_whence = SEEK_SET;
            Lock.l_start = Byte;
            Lock.l_len = 1;
            EXPECT_EQ(::fcntl(FHandle, F_OFD_SETLK, &Lock), 0) << Byte;
        }
    }
    TMachineLocks(const TMachineLocks&) = delete;
    TMachineLocks& operator=(const TMachineLocks&) = delete;
    ~TMachineLocks() { ::close(FHandle); }

private:
    int FHandle;
};
