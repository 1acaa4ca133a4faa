// What a disk image holds, as the user chooses a place in it: our reading of its partitions
// against sfdisk's, free space against mtools', and chains of partitions that never end.

#include "core/little_endian.h"
#include "platform/disk_image/image_file.h"
#include "platform/disk_image/image_report.h"
#include "platform/disk_image/partition_table.h"
#include "tests/platform/disk_image/disk_image_tools.h"

#include <gtest/gtest.h>
#include <regex>

namespace {

// The free bytes that mdir reports for the volume at Offset.
std::uint64_t FreeBytesByMtools(const std::string& Image, std::uint64_t Offset) {
    const TProcessResult Listing = Mtools(Image, Offset, {"mdir", "t:/"});
    std::smatch Match;
    if (!std::regex_search(Listing.Out, Match, std::regex(R"(([\d ]+) bytes free)"))) {
        ADD_FAILURE() << Listing.Out << Listing.Err;
        return 0;
    }
    std::string Digits = Match[1];
    std::erase(Digits, ' ');
    return std::stoull(Digits);
}

} // namespace

TEST(ImageReport, ListsThePartitionsAsSfdiskReadsThem) {
    SKIP_WITHOUT_TOOLS("mtools", "mkfs.fat", "sfdisk");
    TTempDir Dir;
    const std::string Image = Dir / "disk.img";
    const std::vector<TTestPartition> Partitions = {
        {1, 63, 20000, "6", 16, "DATA"}, {2, 20480, 40000, "7", 0, ""},
        {3, 61440, 83968, "f", 0, ""},   {5, 63488, 67584, "c", 32, "WIN98"},
        {6, 133120, 12288, "1", 12, ""},
    };
    MakePartitionedImage(Image, 72, Partitions);
    MakeFolder(Image, Partitions[3].Offset(), "t:/windows");
    PutFile(Image, Partitions[0].Offset(), "t:/DATA.BIN", RandomBytes(100000, 1));

    const TProcessResult Dump = RunProcess({"sfdisk", "-J", Image});
    ASSERT_EQ(Dump.ExitCode, 0) << Dump.Err;
    const std::regex Entry(
        R"re("node": ".*?(\d+)",\s*"start": (\d+),\s*"size": (\d+),\s*"type": "(\w+)")re");
    std::vector<TVolumeReport> Expected;
    for (auto It = std::sregex_iterator(Dump.Out.begin(), Dump.Out.end(), Entry);
         It != std::sregex_iterator(); ++It) {
        if ((*It)[4] == "f") {
            continue; // the extended partition holds the logical ones and is no volume itself
        }
        TVolumeReport Volume;
        Volume.Volume.Partition = std::stoi((*It)[1]);
        Volume.Volume.Offset = std::stoull((*It)[2]) * kSector;
        Volume.Volume.Size = std::stoull((*It)[3]) * kSector;
        Volume.Volume.PartitionType = static_cast<std::uint8_t>(std::stoul((*It)[4], nullptr, 16));
        Expected.push_back(Volume);
    }
    ASSERT_EQ(Expected.size(), 4U) << Dump.Out;

    const TImageReport Report = ReportDiskImage(Image);
    EXPECT_EQ(Report.Format, "raw");
    EXPECT_TRUE(Report.Partitioned);
    EXPECT_FALSE(Report.InUse);
    ASSERT_EQ(Report.Volumes.size(), Expected.size());
    const std::vector<std::string> Kinds = {"FAT16", "not FAT: type 0x07, NTFS or exFAT", "FAT32",
                                            "FAT12"};
    const std::vector<std::string> Labels = {"DATA", "", "WIN98", ""};
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        const TVolumeReport& Got = Report.Volumes[I];
        SCOPED_TRACE("partition " + std::to_string(Got.Volume.Partition));
        EXPECT_EQ(Got.Volume.Partition, Expected[I].Volume.Partition);
        EXPECT_EQ(Got.Volume.Offset, Expected[I].Volume.Offset);
        EXPECT_EQ(Got.Volume.Size, Expected[I].Volume.Size);
        EXPECT_EQ(Got.Volume.PartitionType, Expected[I].Volume.PartitionType);
        EXPECT_EQ(Got.Volume.Kind(), Kinds[I]);
        EXPECT_EQ(Got.Volume.Fat ? Got.Volume.Fat->Label : "", Labels[I]);
        EXPECT_EQ(Got.WindowsFolder, I == 2 ? "windows" : "");
        EXPECT_TRUE(Got.Problem.empty()) << Got.Problem;
        if (Got.Volume.Fat) {
            EXPECT_EQ(Got.FreeBytes, FreeBytesByMtools(Image, Got.Volume.Offset));
        }
    }
}

TEST(ImageReport, EndsChainsOfPartitionsThatLoop) {
    TTempDir Dir;
    const std::string Image = Dir / "loop.img";
    std::string Disk(8 * 1024 * 1024, '\0');
    auto* Bytes = reinterpret_cast<std::uint8_t*>(Disk.data());
    // A record at Sector with a logical partition (type 6, 10 sectors from it) and a link to the
    // next record, Next sectors from the extended partition's start.
    const auto Record = [&](std::uint64_t Sector, std::uint32_t Next) {
        std::uint8_t* P = Bytes + Sector * kSector;
        P[446 + 4] = 0x06;
        PutLE32(P + 446 + 8, 10);
        PutLE32(P + 446 + 12, 100);
        P[462 + 4] = 0x05;
        PutLE32(P + 462 + 8, Next);
        PutLE32(P + 462 + 12, 200);
        P[510] = 0x55;
        P[511] = 0xAA;
    };
    // The master record: an extended partition at sector 2048 and a FAT partition reaching
    // beyond the disk's end.
    Bytes[446 + 4] = 0x0F;
    PutLE32(Bytes + 446 + 8, 2048);
    PutLE32(Bytes + 446 + 12, 8192);
    Bytes[462 + 4] = 0x06;
    PutLE32(Bytes + 462 + 8, 12000);
    PutLE32(Bytes + 462 + 12, 8192);
    Bytes[510] = 0x55;
    Bytes[511] = 0xAA;
    Record(2048, 300);
    Record(2348, 300); // links to itself
    WriteFile(Image, Disk);

    const TImageFile File(Image, TImageFile::TAccess::aRead);
    const auto Partitions = ReadPartitionTable(File, File.Size());
    ASSERT_TRUE(Partitions);
    ASSERT_EQ(Partitions->size(), 3U);
    EXPECT_EQ((*Partitions)[0].Number, 2);
    EXPECT_FALSE((*Partitions)[0].Inside);
    EXPECT_EQ((*Partitions)[1].Number, 5);
    EXPECT_EQ((*Partitions)[1].Offset, (2048 + 10) * kSector);
    EXPECT_EQ((*Partitions)[2].Number, 6);
    EXPECT_EQ((*Partitions)[2].Offset, (2348 + 10) * kSector);
    EXPECT_EQ(ReportDiskImage(Image).Volumes.size(), 3U);
}
