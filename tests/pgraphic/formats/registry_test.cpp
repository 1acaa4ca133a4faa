#include "bmp_builder.h"
#include "core/stream.h"
#include "pgraphic/formats/registry.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const TFileFormatReader* Find(const std::vector<std::uint8_t>& Bytes, const std::string& Ext) {
    TBlockStream Stream(static_cast<const void*>(Bytes.data()),
                        static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    const TFileFormatReader* Reader = FindFileFormatReader(Stream, Ext);
    EXPECT_EQ(Stream.Position(), 0); // put back where it was
    return Reader;
}

} // namespace

TEST(Registry, ListsAreKeptInExtensionOrder) {
    auto& Readers = FileFormatReaders();
    Readers.EnsureSorted();
    for (std::size_t I = 1; I < Readers.Count(); ++I) {
        EXPECT_LT(Readers[I - 1].Extension(), Readers[I].Extension());
    }
    auto& Writers = FileFormatWriters();
    Writers.EnsureSorted();
    ASSERT_GE(Writers.Count(), 2u);
    EXPECT_EQ(Writers[0].Extension(), "bmp");
    EXPECT_EQ(Writers[1].Extension(), "dib");
    EXPECT_FALSE(Writers[1].Listed()); // an alias, not the main extension
}

TEST(Registry, ContentDecidesBeforeTheExtension) {
    TBmpBuilder B;
    B.FileHeader().InfoHeader(1, 1, 24).U32(0);
    const TFileFormatReader* Reader = Find(B.Bytes, "png");
    ASSERT_NE(Reader, nullptr);
    EXPECT_EQ(Reader->Extension(), "bmp"); // the first "BM" reader in order, whatever the name
    EXPECT_EQ(Find(B.Bytes, ".rle"), Reader);
    // Short files are still tested; missing bytes count as zero.
    EXPECT_NE(Find({'B', 'M'}, ""), nullptr);
    EXPECT_EQ(Find({}, ""), nullptr);
    // Readers with a signature are never chosen by extension.
    EXPECT_EQ(Find({'x', 'y', 'z'}, "bmp"), nullptr);
}

TEST(Registry, ExtensionsOfFileNames) {
    EXPECT_EQ(ExtractFormatExtension("/a/b/Picture.BMP"), "bmp");
    EXPECT_EQ(ExtractFormatExtension("/a.dir/b"), "");
    EXPECT_EQ(ExtractFormatExtension("name."), "");
    EXPECT_EQ(ExtractFormatExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(StripExtensionDot(".png"), "png");
}

TEST(Registry, ImageFileInfoNeverRaises) {
    const auto Dir = std::filesystem::temp_directory_path() / "vespera_registry_test";
    std::filesystem::create_directories(Dir);
    TPGImageFileInfo Info;
    EXPECT_FALSE(GetImageFileInfo("", 0, Info));
    EXPECT_FALSE(GetImageFileInfo((Dir / "missing.bmp").string(), 0, Info));
    EXPECT_FALSE(GetImageFileInfo(Dir.string(), 0, Info));

    TBmpBuilder B;
    B.FileHeader().InfoHeader(5, 3, 8);
    TMemoryStream Memory;
    Memory.WriteBuffer(B.Bytes.data(), static_cast<std::int64_t>(B.Bytes.size()));
    const std::string Name = (Dir / "picture.bmp").string();
    TFileStream(Name, TFileMode::fmCreate).CopyFrom(Memory, 0);
    ASSERT_TRUE(GetImageFileInfo(Name, 0, Info));
    EXPECT_EQ(Info.Description, "Bitmap");
    EXPECT_EQ(Info.Width, 5);
    EXPECT_EQ(Info.Height, 3);
    EXPECT_EQ(Info.BitsPerPixel, 8);
    EXPECT_EQ(Info.ImageCount, 1);
    EXPECT_FALSE(GetImageFileInfo(Name, 1, Info)); // the reader refuses other indices
    EXPECT_EQ(Info.Width, 0);                      // and nothing is left over

    // From a stream: the position comes back, also on failure.
    Memory.SetPosition(0);
    EXPECT_TRUE(GetImageFileInfoFromStream(Memory, "", 0, Info));
    EXPECT_EQ(Memory.Position(), 0);
    EXPECT_FALSE(GetImageFileInfoFromStream(Memory, "", 3, Info));
    EXPECT_EQ(Memory.Position(), 0);
    std::filesystem::remove_all(Dir);
}

TEST(Registry, OpenFilterListsTheListedReaders) {
    const std::string Filter = BuildOpenFilter();
    EXPECT_EQ(Filter.rfind("Image files|*.bmp; *.dib; ", 0), 0u) << Filter;
    EXPECT_NE(Filter.find("|BMP - Bitmap|*.bmp|DIB - Bitmap|*.dib|"), std::string::npos);
    EXPECT_NE(Filter.find("|RLE - Bitmap|*.rle|"), std::string::npos);
    EXPECT_EQ(Filter.substr(Filter.size() - 14), "|All files|*.*");
}
