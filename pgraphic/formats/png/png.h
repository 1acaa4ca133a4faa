#pragma once

#include "pgraphic/formats/registry.h"

class TPixelGraphic;
class TStream;

// Portable Network Graphics through libpng.

class TPNGFileFormatReader : public TFileFormatReader {
public:
    TPNGFileFormatReader();
    std::string ClassName() const override { return "TPNGFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    // Transparency is composited against a background colour and the file's gamma becomes the
    // image's Gamma; the reader is the Sender of the progress events.
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;
};

class TPNGFileFormatWriter : public TFileFormatWriter {
public:
    TPNGFileFormatWriter();
    std::string ClassName() const override { return "TPNGFileFormatWriter"; }
    // Every colour resolution is written as it is: RGB, 8-bit grey or a palette file.
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;
};

// Registers the PNG reader and writer.
void RegisterPNGFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
