#include "pgraphic/formats/bmp/bmp_header.h"

#include "pgraphic/image/pg_exceptions.h"

namespace bmp {

namespace {

void CheckInfoHeader(const TDIBHeader& H) {
    if (H.Planes != 1) {
        Fail(TPGLangStrId::Invalid, "BitmapInfoHeader.biPlanes");
    }
    switch (H.BitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Fail(TPGLangStrId::Invalid, "BitmapInfoHeader.biBitCount");
    }
    const bool Valid = H.Compression == BI_RGB ||
                       (H.Compression == BI_BITFIELDS && (H.BitCount == 16 || H.BitCount == 32)) ||
                       (H.Compression == BI_RLE8 && H.BitCount == 8 && H.Height >= 0) ||
                       (H.Compression == BI_RLE4 && H.BitCount == 4 && H.Height >= 0);
    if (!Valid) {
        Fail(TPGLangStrId::Invalid, "BitmapInfoHeader.biCompression");
    }
    if (H.Width < 0) {
        throw EPGInvalidSize(TPGLangStrId::NegativeWidth);
    }
}

} // namespace

TDIBHeader ReadDIBHeader(TStream& Stream) {
    const auto Size = ReadZeroFilled<4>(Stream);
    TDIBHeader H;
    switch (GetLE32(Size.data())) {
    case kCoreHeaderSize: {
        const auto B = ReadZeroFilled<kCoreHeaderSize - 4>(Stream);
        H.Core = true;
        H.Width = GetLE16(B.data());
        H.Height = GetLE16(B.data() + 2);
        H.Planes = GetLE16(B.data() + 4);
        H.BitCount = GetLE16(B.data() + 6);
        if (H.Planes != 1) {
            Fail(TPGLangStrId::Invalid, "BitmapCoreHeader.bcPlanes");
        }
        if (H.BitCount != 1 && H.BitCount != 4 && H.BitCount != 8 && H.BitCount != 24) {
            Fail(TPGLangStrId::Invalid, "BitmapCoreHeader.bcBitCount");
        }
        return H;
    }
    case kInfoHeaderSize: {
        const auto B = ReadZeroFilled<kInfoHeaderSize - 4>(Stream);
        H.Width = static_cast<std::int32_t>(GetLE32(B.data()));
        H.Height = static_cast<std::int32_t>(GetLE32(B.data() + 4));
        H.Planes = GetLE16(B.data() + 8);
        H.BitCount = GetLE16(B.data() + 10);
        H.Compression = GetLE32(B.data() + 12);
        H.SizeImage = GetLE32(B.data() + 16);
        H.ClrUsed = GetLE32(B.data() + 28);
        CheckInfoHeader(H);
        return H;
    }
    default:
        Fail(TPGLangStrId::InvalidSizeOf, "BitmapInfoHeader/BitmapCoreHeader");
    }
}

} // namespace bmp
