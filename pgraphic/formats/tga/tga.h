#pragma once

#include "pgraphic/formats/registry.h"

class TPixelGraphic;
class TStream;

// Truevision Targa files. The format has no signature: a file is found by its extension only.
class TTGAFileFormatReader : public TFileFormatReader {
public:
    TTGAFileFormatReader() : TFileFormatReader("tga", "Truevision Targa") {}
    std::string ClassName() const override { return "TTGAFileFormatReader"; }
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;
};

// Writes 256-colour images colour-mapped and true-colour images as they are, uncompressed.
class TTGAFileFormatWriter : public TFileFormatWriter {
public:
    TTGAFileFormatWriter();
    std::string ClassName() const override { return "TTGAFileFormatWriter"; }
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;
};

// Registers the TGA reader and writer.
void RegisterTGAFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
