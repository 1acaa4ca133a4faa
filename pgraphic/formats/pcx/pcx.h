#pragma once

#include "pgraphic/formats/registry.h"

class TPixelGraphic;
class TStream;

// Run-length encoded "Paintbrush" files: 1 bit in 1 or 4 planes, 8 bits in 1 or 3 planes. There
// is no writer.
class TPCXFileFormatReader : public TFileFormatReader {
public:
    TPCXFileFormatReader();
    std::string ClassName() const override { return "TPCXFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;
};

// Registers the PCX reader.
void RegisterPCXFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
