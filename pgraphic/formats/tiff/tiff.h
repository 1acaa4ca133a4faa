#pragma once

#include "pgraphic/formats/registry.h"
#include "pgraphic/formats/tiff/tiff_settings.h"

#include <cstdint>
#include <map>
#include <mutex>

class TPixelGraphic;
class TStream;

// Baseline TIFF: uncompressed or PackBits strips of bilevel, grey, palette, RGB and CMYK images
// in either byte order. Offsets count from the stream position where the TIFF data begins, so a
// TIFF may be read from or written into the middle of a stream.

class TTIFFileFormatReader : public TFileFormatReader {
public:
    TTIFFileFormatReader() : TTIFFileFormatReader("tif") {}
    std::string ClassName() const override { return "TTIFFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;

protected:
    explicit TTIFFileFormatReader(std::string Extension);
};

class TTIFFFileFormatReader : public TTIFFileFormatReader {
public:
    TTIFFFileFormatReader() : TTIFFileFormatReader("tiff") {}
    std::string ClassName() const override { return "TTIFFFileFormatReader"; }
};

namespace tiff {

// A file being written: where it begins, where the offset of its next directory goes, and the
// settings every image of it is written with, taken when it began.
struct TFileInProgress {
    std::int64_t Base = 0;
    std::int64_t PendingLink = 0;
    TTIFFSettings Settings;
};

} // namespace tiff

// Writes one image per WriteImage, or several into one file through BeginFile, AddImage for each
// image and EndFile. WriteImage keeps nothing between calls. Between BeginFile and EndFile the
// writer keeps, for that stream, the position where the file begins and the position of the link
// that the next directory's offset goes into; so one writer serves several files, and several
// threads, at once.
class TTIFFileFormatWriter : public TFileFormatWriter {
public:
    TTIFFileFormatWriter() : TTIFFileFormatWriter("tif", true) {}
    std::string ClassName() const override { return "TTIFFileFormatWriter"; }
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;
    void BeginFile(TStream& Stream) override;
    void AddImage(TStream& Stream, TPixelGraphic& Graphic) override;
    void EndFile(TStream& Stream) override;

protected:
    TTIFFileFormatWriter(std::string Extension, bool IsListed);

private:
    std::mutex FOpenFilesLock;
    std::map<const TStream*, tiff::TFileInProgress> FOpenFiles;
};

class TTIFFFileFormatWriter : public TTIFFileFormatWriter {
public:
    TTIFFFileFormatWriter() : TTIFFileFormatWriter("tiff", false) {}
    std::string ClassName() const override { return "TTIFFFileFormatWriter"; }
};

// Registers the TIF and TIFF readers and writers.
void RegisterTIFFFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
