#pragma once

#include "pgraphic/formats/registry.h"

#include <cstdint>

class TPixelGraphic;
class TStream;

// Device-independent bitmaps: files with the "BM" signature, and the packed form (header,
// palette, pixels) the clipboard exchanges.

class TBMPFileFormatReader : public TFileFormatReader {
public:
    TBMPFileFormatReader() : TBMPFileFormatReader("bmp") {}
    std::string ClassName() const override { return "TBMPFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;

protected:
    explicit TBMPFileFormatReader(std::string Extension);
};

class TDIBFileFormatReader : public TBMPFileFormatReader {
public:
    TDIBFileFormatReader() : TBMPFileFormatReader("dib") {}
    std::string ClassName() const override { return "TDIBFileFormatReader"; }
};

class TRLEFileFormatReader : public TBMPFileFormatReader {
public:
    TRLEFileFormatReader() : TBMPFileFormatReader("rle") {}
    std::string ClassName() const override { return "TRLEFileFormatReader"; }
};

class TBMPFileFormatWriter : public TFileFormatWriter {
public:
    TBMPFileFormatWriter() : TBMPFileFormatWriter("bmp", true) {}
    std::string ClassName() const override { return "TBMPFileFormatWriter"; }
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;

protected:
    TBMPFileFormatWriter(std::string Extension, bool IsListed);
};

class TDIBFileFormatWriter : public TBMPFileFormatWriter {
public:
    TDIBFileFormatWriter() : TBMPFileFormatWriter("dib", false) {}
    std::string ClassName() const override { return "TDIBFileFormatWriter"; }
};

// Reads a packed DIB (header, masks, palette, pixels) from the stream's position into Graphic.
void ReadPackedDIB(TStream& Stream, TPixelGraphic& Graphic);

// Writes Graphic as a packed DIB: info header, PaletteCount colours, pixel buffer.
void WritePackedDIB(TStream& Stream, TPixelGraphic& Graphic);

// Writes Graphic as a BMP file, as the BMP writer does, with ImportantColors in the information
// header's "important colours" field, where the writer puts 0. Some readers give the field a
// meaning of their own (the system's start-up logo keeps its first animated entry there).
void WriteBMPFile(TStream& Stream, TPixelGraphic& Graphic, std::uint32_t ImportantColors);

// Size of the packed DIB of Graphic.
std::int64_t PackedDIBSize(const TPixelGraphic& Graphic);

// The BMP writer kept outside the lists, for plain stream saving and stored data.
TFileFormatWriter& StandaloneBMPWriter();

// Registers the BMP, DIB and RLE readers and the BMP and DIB writers.
void RegisterBMPFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
