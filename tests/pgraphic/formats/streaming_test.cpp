#include "bmp_builder.h"
#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(StoredData, RoundTripsAndSkipsTheWholeBlock) {
    TPixelGraphic Image;
    Image.SetSize(5, 3, bc8);
    Image.SetPaletteIdent(pSpecial125);
    Image.SetPixel(4, 2, 77);
    TMemoryStream Stream;
    Stream.WriteBuffer("head", 4);
    Image.WriteStoredData(Stream);
    Stream.WriteBuffer("tail", 4);
    const std::int64_t BlockSize = Stream.Size() - 8;
    std::uint32_t Count = 0;
    std::memcpy(&Count, Stream.Bytes().data() + 4, 4);
    EXPECT_EQ(Count, BlockSize - 4);

    Stream.SetPosition(4);
    TPixelGraphic Back;
    Back.ReadStoredData(Stream);
    EXPECT_EQ(Stream.Position(), 4 + BlockSize);
    EXPECT_EQ(Back.Width(), 5);
    EXPECT_EQ(Back.PaletteIdent(), pSpecial125);
    EXPECT_EQ(Back.Pixels(4, 2), 77u);

    // A count larger than what the reader used: the stream still ends up after the block.
    TMemoryStream Padded;
    TBmpBuilder B;
    B.FileHeader().InfoHeader(1, 1, 24).U32(0);
    const auto N = static_cast<std::uint32_t>(B.Bytes.size() + 10);
    Padded.WriteBuffer(&N, 4);
    Padded.WriteBuffer(B.Bytes.data(), static_cast<std::int64_t>(B.Bytes.size()));
    Padded.WriteBuffer("0123456789", 10);
    Padded.SetPosition(0);
    Back.ReadStoredData(Padded);
    EXPECT_EQ(Padded.Position(), 4 + N);
}

TEST(Clipboard, PackedDibBlocksBothWays) {
    TPixelGraphic Image;
    Image.SetSize(3, 2, bc24);
    Image.SetPixel(2, 0, static_cast<std::uint32_t>(RGB(1, 2, 3)));
    std::uint32_t Format = 0;
    const auto Block = Image.CopyClipboardData(Format);
    EXPECT_EQ(Format, 8u);
    ASSERT_EQ(Block.size(), 40u + 24);
    std::uint32_t ClrUsed = 1;
    std::memcpy(&ClrUsed, Block.data() + 32, 4);
    EXPECT_EQ(ClrUsed, 0u);

    TPixelGraphic Pasted;
    Pasted.PasteClipboardData(8, Block.data(), Block.size());
    EXPECT_EQ(Pasted.PixelColors(2, 0), RGB(1, 2, 3));

    // A grey ramp comes back as the grey palette.
    TPixelGraphic Grey;
    Grey.SetSize(2, 2, bc8);
    Grey.SetPaletteCount(256);
    for (int I = 0; I < 256; ++I) {
        Grey.SetPaletteColors(I, RGB(I, I, I));
    }
    const auto GreyBlock = Grey.CopyClipboardData(Format);
    EXPECT_EQ(GreyBlock.size(), 40u + 1024 + 8);
    Pasted.PasteClipboardData(2, GreyBlock.data(), GreyBlock.size());
    EXPECT_EQ(Pasted.PaletteIdent(), pGray256);
    EXPECT_EQ(Pasted.Gamma(), PGDisplayGamma());

    int Changes = 0;
    Pasted.OnChange = [&](TObject*) { ++Changes; };
    for (const std::uint32_t Wrong : {1u, 3u, 17u}) {
        try {
            Pasted.PasteClipboardData(Wrong, Block.data(), Block.size());
            ADD_FAILURE();
        } catch (const EPGUnknownClipboardFormat& E) {
            EXPECT_STREQ(E.what(), "Unknown clipboard format");
        }
    }
    EXPECT_THROW(Pasted.PasteClipboardData(8, nullptr, 0), EPGUnknownClipboardFormat);
    // A truncated block fails inside the reader; the notification still comes once.
    EXPECT_THROW(Pasted.PasteClipboardData(8, Block.data(), 10), EPixelGraphic);
    EXPECT_EQ(Changes, 1);
}
