#pragma once

// Loading, saving and describing images in memory for the format tests.

#include "core/stream.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/image/pixel_graphic.h"

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

inline TBytes BytesOf(const std::string& Text) {
    return TBytes(Text.begin(), Text.end());
}

// A read-only stream over Bytes, which must outlive it.
inline TBlockStream StreamOver(const TBytes& Bytes) {
    return TBlockStream(static_cast<const void*>(Bytes.data()),
                        static_cast<std::int64_t>(Bytes.size()));
}

inline void LoadBytes(TPixelGraphic& Image, const TBytes& Bytes, const std::string& Extension) {
    TBlockStream Stream = StreamOver(Bytes);
    Image.LoadFromStreamExt(Stream, Extension, 0);
}

// The message of the failure loading Bytes raises, or "no error".
inline std::string LoadError(const TBytes& Bytes, const std::string& Extension) {
    TPixelGraphic Image;
    try {
        LoadBytes(Image, Bytes, Extension);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "no error";
}

// Calls the reader directly, as the pipeline does after choosing it.
inline void ReadBytes(const TFileFormatReader& Reader, const TBytes& Bytes, TPixelGraphic& Image,
                      int Index = 0) {
    TBlockStream Stream = StreamOver(Bytes);
    Reader.ReadImage(Stream, Image, Index);
}

// The message of the failure ReadBytes raises, or "no error".
inline std::string ReadError(const TFileFormatReader& Reader, const TBytes& Bytes, int Index = 0) {
    TPixelGraphic Image;
    try {
        ReadBytes(Reader, Bytes, Image, Index);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "no error";
}

inline TBytes SaveBytes(TPixelGraphic& Image, const std::string& Extension) {
    TMemoryStream Stream;
    Image.SaveToStreamExt(Stream, Extension);
    return Stream.Bytes();
}

inline TPGImageFileInfo InfoOf(const TBytes& Bytes, const std::string& Extension,
                               bool* Found = nullptr) {
    TBlockStream Stream = StreamOver(Bytes);
    TPGImageFileInfo Info;
    const bool Ok = GetImageFileInfoFromStream(Stream, Extension, 0, Info);
    if (Found != nullptr) {
        *Found = Ok;
    }
    return Info;
}

// The message of the failure the reader's GetInfo raises for Index, or "no error".
inline std::string InfoError(const TFileFormatReader& Reader, const TBytes& Bytes, int Index) {
    TBlockStream Stream = StreamOver(Bytes);
    TPGImageFileInfo Info;
    try {
        Reader.GetInfo(Stream, Index, Info);
    } catch (const std::exception& E) {
        return E.what();
    }
    return "no error";
}

// Records the progress events of an image: senders, steps, and an abort after AbortAfter calls.
struct TProgressLog {
    std::vector<TObject*> Senders;
    std::vector<int> Steps;
    int Max = -1;
    int Starts = 0;
    int Ends = 0;
    int AbortAfter = -1;

    void Attach(TPixelGraphic& Image) {
        Image.OnProgressStart = [this](TObject* Sender) {
            ++Starts;
            Senders.push_back(Sender);
        };
        Image.OnProgressEnd = [this](TObject* Sender) {
            ++Ends;
            Senders.push_back(Sender);
        };
        Image.OnProgress = [this](TObject* Sender, int Step, int M, bool& Abort) {
            Senders.push_back(Sender);
            Steps.push_back(Step);
            Max = M;
            Abort = static_cast<int>(Steps.size()) == AbortAfter;
        };
    }
    bool AllFrom(const TObject* Sender) const {
        for (const TObject* S : Senders) {
            if (S != Sender) {
                return false;
            }
        }
        return !Senders.empty();
    }
};
