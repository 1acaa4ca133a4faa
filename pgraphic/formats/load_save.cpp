// The load and save pipelines of the pixel image: reader choice, gamma correction, writer
// choice and conversion to a colour resolution the writer can store.

#include "core/stream.h"
#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/color_resolution.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/formats/warning_action.h"
#include "pgraphic/image/palette_cover.h"
#include "pgraphic/image/pg_exceptions.h"
#include "pgraphic/image/pixel_graphic.h"
#include "platform/ascii_text.h"
#include "platform/file_ops.h"

#include <cmath>
#include <cstdio>
#include <sys/stat.h>

namespace {

// Corrects pixel data of gamma Gamma to the display gamma: palette entries of palette images,
// every pixel byte of true-colour images.
void CorrectGamma(TPixelGraphic& Image, long double DisplayGamma) {
    const long double Exponent = Image.Gamma() / DisplayGamma;
    std::uint8_t Table[256];
    for (int I = 0; I < 256; ++I) {
        Table[I] = static_cast<std::uint8_t>(
            std::nearbyint(255.0L * std::pow(static_cast<long double>(I) / 255.0L, Exponent)));
    }
    if (Image.BitCount() == bc24) {
        const auto RowBytes = 3 * static_cast<std::size_t>(Image.Width());
        for (int Y = 0; Y < Image.Height(); ++Y) {
            std::uint8_t* P = Image.ScanLine(Y);
            for (std::size_t X = 0; X < RowBytes; ++X) {
                P[X] = Table[P[X]];
            }
        }
    } else {
        for (int I = 0; I < Image.PaletteCount(); ++I) {
            const TColor C = Image.PaletteColors(I);
            Image.SetPaletteColors(
                I, RGB(Table[GetRValue(C)], Table[GetGValue(C)], Table[GetBValue(C)]));
        }
    }
}

// Writes Image with the writer for Extension, converting its colour resolution first when the
// writer cannot store it. The target is a new file (FileName) or the given stream.
void SaveWithWriter(TPixelGraphic& Image, bool ToFile, const std::string& FileName,
                    std::string Extension, TStream* Stream) {
    Image.Flush();
    Extension = StripExtensionDot(std::move(Extension));
    TFileFormatWriters& Writers = FileFormatWriters();
    Writers.EnsureSorted();
    if (Writers.Count() == 0) {
        throw EPGFileFormatWritersEmpty(TPGLangStrId::IsEmpty, "FileFormatWriters");
    }
    TFileFormatWriter* Writer = nullptr;
    for (const auto& Candidate : Writers) {
        if (SameText(Candidate->Extension(), Extension)) {
            Writer = Candidate.get();
            break;
        }
    }
    if (Writer == nullptr) {
        throw EPGUnknownExtension(TPGLangStrId::UnknownFileExtension, LowerCase(Extension));
    }
    const TColorResolution Current = ColorResolutionOf(Image);
    TColorResolution Target = Current;
    if (!PreferredResolution(Current, Writer->CanWriteResolutions(), Target)) {
        throw EPGCanWriteResolutionsEmpty(TPGLangStrId::IsEmpty,
                                          Writer->ClassName() + ".CanWriteResolutions");
    }
    const auto Write = [&](TPixelGraphic& What) {
        if (ToFile) {
            TFileStream File(FileName, TFileMode::fmCreate);
            Writer->WriteImage(File, What);
        } else {
            Writer->WriteImage(*Stream, What);
        }
    };
    if (Target == Current) {
        Write(Image);
        return;
    }
    const std::string Warning =
        PGLangStr(TPGLangStrId::SaveColorResolutionChanged, Writer->Description(),
                  ColorResolutionText(Current), ColorResolutionText(Target));
    if (!ConfirmWarning(Image.SaveColorResWarningAction(), PGLangStr(TPGLangStrId::Warning),
                        Warning)) {
        throw EPGCannotWriteColorRes(TPGLangStrId::SaveColorResolutionImpossible,
                                     Writer->Description(), ColorResolutionText(Current));
    }
    TPixelGraphic Converted;
    ConvertToResolution(Image, Target, Converted);
    Write(Converted);
}

} // namespace

void TPixelGraphic::LoadFromFile(const std::string& FileName) {
    LoadFromFileExt(FileName, 0);
}

void TPixelGraphic::LoadFromFileExt(const std::string& FileName, int Index) {
    TFileStream File(FileName, TFileMode::fmOpenRead);
    LoadFromStreamExt(File, ExtractFormatExtension(FileName), Index);
}

void TPixelGraphic::LoadFromStream(TStream& Stream) {
    LoadFromStreamExt(Stream, "", 0);
}

void TPixelGraphic::LoadFromStreamExt(TStream& Stream, const std::string& Extension, int Index) {
    Flush();
    BeginUpdate();
    try {
        SetSize(0, 0, bc24);
        const TPGLoadSettings Settings = PGLoadSettings();
        const long double DisplayGamma = Settings.DisplayGamma;
        SetGamma(DisplayGamma);
        const TFileFormatReader* Reader = FindFileFormatReader(Stream, Extension);
        if (Reader == nullptr) {
            throw EPGUnknownFileFormat(TPGLangStrId::UnknownFileFormat);
        }
        Reader->ReadImage(Stream, *this, Index);
        CoverPixelIndices(*this);
        if (Settings.GammaCorrection && std::fabs(Gamma() / DisplayGamma - 1) > 0.05L) {
            CorrectGamma(*this, DisplayGamma);
        }
        SetGamma(DisplayGamma);
        IdentifyPalette();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TPixelGraphic::SaveToFile(const std::string& FileName) {
    struct stat Status {};
    const bool Existed = ::lstat(FileName.c_str(), &Status) == 0;
    try {
        SaveWithWriter(*this, true, FileName, ExtractFormatExtension(FileName), nullptr);
    } catch (...) {
        if (!Existed) {
            std::remove(FileName.c_str());
        }
        throw;
    }
}

void TPixelGraphic::SaveToStreamExt(TStream& Stream, const std::string& Extension) {
    SaveWithWriter(*this, false, "", Extension, &Stream);
}

void TPixelGraphic::SaveToStream(TStream& Stream) {
    Flush();
    StandaloneBMPWriter().WriteImage(Stream, *this);
}
