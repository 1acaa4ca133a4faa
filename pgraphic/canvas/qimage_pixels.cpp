#include "pgraphic/canvas/qimage_pixels.h"

#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/qt/qt_color.h"

#include <cstring>
#include <vector>

namespace {

// Source position of destination position D out of DestSize, for a source of SourceSize.
int SourcePosition(int D, int DestSize, int SourceSize, bool Mirror) {
    const auto Pos = static_cast<std::uint64_t>(Mirror ? DestSize - 1 - D : D);
    return static_cast<int>((2 * Pos + 1) * static_cast<std::uint64_t>(SourceSize) /
                            (2 * static_cast<std::uint64_t>(DestSize)));
}

// One destination row from source row Row through the column map.
void FillRow(const TPGPixelSource& Source, const std::uint8_t* Row, const std::vector<int>& Cols,
             std::uint8_t* Dest) {
    const std::size_t N = Cols.size();
    switch (Source.Kind) {
    case TPGPixelSource::pkIndex1:
        for (std::size_t I = 0; I < N; ++I) {
            const auto C = static_cast<unsigned>(Cols[I]);
            Dest[I] = static_cast<std::uint8_t>((Row[C / 8] >> (7 - C % 8)) & 1);
        }
        break;
    case TPGPixelSource::pkIndex4:
        for (std::size_t I = 0; I < N; ++I) {
            const auto C = static_cast<unsigned>(Cols[I]);
            Dest[I] = static_cast<std::uint8_t>(C % 2 == 0 ? Row[C / 2] >> 4 : Row[C / 2] & 0x0F);
        }
        break;
    case TPGPixelSource::pkIndex8:
        for (std::size_t I = 0; I < N; ++I) {
            Dest[I] = Row[Cols[I]];
        }
        break;
    case TPGPixelSource::pkBGR24: {
        auto* D = reinterpret_cast<QRgb*>(Dest);
        for (std::size_t I = 0; I < N; ++I) {
            const std::uint8_t* P = Row + 3 * static_cast<std::size_t>(Cols[I]);
            D[I] = qRgb(P[2], P[1], P[0]);
        }
        break;
    }
    case TPGPixelSource::pkRGB32: {
        auto* D = reinterpret_cast<QRgb*>(Dest);
        const auto* S = reinterpret_cast<const QRgb*>(Row);
        for (std::size_t I = 0; I < N; ++I) {
            D[I] = S[Cols[I]] | 0xFF000000U;
        }
        break;
    }
    }
}

} // namespace

QList<QRgb> PGColorTable(const TPixelGraphic& Image) {
    const int Count = Image.MaxPaletteCount();
    const auto& Palette = Image.Palette();
    QList<QRgb> Table(Count, qRgb(0, 0, 0));
    for (int I = 0; I < Count && !Palette.empty(); ++I) {
        const auto Entry = static_cast<std::size_t>(I) < Palette.size() ? I : 0;
        Table[I] = ToQRgb(Palette[static_cast<std::size_t>(Entry)]);
    }
    return Table;
}

TPGPixelSource PGPixelSource(const std::uint8_t* Bits, int Width, int Height,
                             std::uint32_t BytesPerLine, TPGBitCount BitCount,
                             QList<QRgb> ColorTable) {
    TPGPixelSource Source;
    Source.Stride = -static_cast<std::ptrdiff_t>(BytesPerLine);
    Source.Top = Height > 0 ? Bits + static_cast<std::size_t>(Height - 1) * BytesPerLine : Bits;
    Source.Width = Width;
    Source.Height = Height;
    switch (BitCount) {
    case bc1:
        Source.Kind = TPGPixelSource::pkIndex1;
        break;
    case bc4:
        Source.Kind = TPGPixelSource::pkIndex4;
        break;
    case bc8:
        Source.Kind = TPGPixelSource::pkIndex8;
        break;
    case bc24:
        Source.Kind = TPGPixelSource::pkBGR24;
        break;
    }
    Source.ColorTable = std::move(ColorTable);
    return Source;
}

TPGPixelSource PGPixelSource(const QImage& Image) {
    TPGPixelSource Source;
    Source.Top = Image.constBits();
    Source.Stride = static_cast<std::ptrdiff_t>(Image.bytesPerLine());
    Source.Width = Image.width();
    Source.Height = Image.height();
    Source.Kind = TPGPixelSource::pkRGB32;
    return Source;
}

QImage PGScaledImage(const TPGPixelSource& Source, QSize DestSize, const QRect& Visible,
                     bool MirrorX, bool MirrorY) {
    const bool Indexed = Source.Kind == TPGPixelSource::pkIndex1 ||
                         Source.Kind == TPGPixelSource::pkIndex4 ||
                         Source.Kind == TPGPixelSource::pkIndex8;
    QImage Result(Visible.size(), Indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (Result.isNull()) {
        throw EPixelGraphic(TPGLangStrId::Failed, "QImage");
    }
    if (Indexed) {
        Result.setColorTable(Source.ColorTable);
    }
    std::vector<int> Cols(static_cast<std::size_t>(Visible.width()));
    for (int I = 0; I < Visible.width(); ++I) {
        Cols[static_cast<std::size_t>(I)] =
            SourcePosition(Visible.left() + I, DestSize.width(), Source.Width, MirrorX);
    }
    const auto RowBytes = static_cast<std::size_t>(Visible.width()) * (Indexed ? 1 : sizeof(QRgb));
    int Previous = -1;
    for (int R = 0; R < Visible.height(); ++R) {
        const int Sy = SourcePosition(Visible.top() + R, DestSize.height(), Source.Height, MirrorY);
        std::uint8_t* Dest = Result.scanLine(R);
        if (Sy == Previous) {
            std::memcpy(Dest, Result.constScanLine(R - 1), RowBytes);
        } else {
            FillRow(Source, Source.Top + Sy * Source.Stride, Cols, Dest);
            Previous = Sy;
        }
    }
    return Result;
}
