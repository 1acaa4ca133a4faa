#pragma once

#include "pgraphic/formats/registry.h"

class TPixelGraphic;
class TStream;

// Portable bitmap, graymap and pixmap files in their plain (ASCII) and raw variants.

// Process-wide settings of the writers. The program keeps the defaults; tests and the
// command-line front end may change them.
struct TPxMSettings {
    // The writers produce the raw variants (P4, P5, P6) instead of the plain ones (P1, P2, P3).
    bool Binary = false;
};

// The settings as they stand: the writers take one snapshot per call.
TPxMSettings PxMSettings();
void SetPxMBinary(bool Value);

// The reading code of all six variants, whatever the extension; each subclass recognises its
// two variants by their first bytes.
class TPxMFileFormatReader : public TFileFormatReader {
public:
    std::string ClassName() const override { return "TPxMFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;

protected:
    // PlainDigit and RawDigit: the variant digits of the signature ('1' and '4' for bitmaps).
    TPxMFileFormatReader(std::string Extension, std::string Description, char PlainDigit,
                         char RawDigit);

private:
    char FPlainDigit;
    char FRawDigit;
};

class TPBMFileFormatReader : public TPxMFileFormatReader {
public:
    TPBMFileFormatReader() : TPxMFileFormatReader("pbm", "Portable Bitmap", '1', '4') {}
    std::string ClassName() const override { return "TPBMFileFormatReader"; }
};

class TPGMFileFormatReader : public TPxMFileFormatReader {
public:
    TPGMFileFormatReader() : TPxMFileFormatReader("pgm", "Portable Graymap", '2', '5') {}
    std::string ClassName() const override { return "TPGMFileFormatReader"; }
};

class TPPMFileFormatReader : public TPxMFileFormatReader {
public:
    TPPMFileFormatReader() : TPxMFileFormatReader("ppm", "Portable Pixelmap", '3', '6') {}
    std::string ClassName() const override { return "TPPMFileFormatReader"; }
};

// The writing code of the three formats; the variant follows the extension and the settings.
class TPXMFileFormatWriter : public TFileFormatWriter {
public:
    std::string ClassName() const override { return "TPXMFileFormatWriter"; }
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;

protected:
    TPXMFileFormatWriter(std::string Extension, std::string Description,
                         TColorResolution Resolution);
};

class TPBMFileFormatWriter : public TPXMFileFormatWriter {
public:
    TPBMFileFormatWriter() : TPXMFileFormatWriter("pbm", "Portable Bitmap", crBlackWhite) {}
    std::string ClassName() const override { return "TPBMFileFormatWriter"; }
};

class TPGMFileFormatWriter : public TPXMFileFormatWriter {
public:
    TPGMFileFormatWriter() : TPXMFileFormatWriter("pgm", "Portable Graymap", crGray256) {}
    std::string ClassName() const override { return "TPGMFileFormatWriter"; }
};

class TPPMFileFormatWriter : public TPXMFileFormatWriter {
public:
    TPPMFileFormatWriter() : TPXMFileFormatWriter("ppm", "Portable Pixelmap", crTrueColor) {}
    std::string ClassName() const override { return "TPPMFileFormatWriter"; }
};

// Registers the PBM, PGM and PPM readers and writers.
void RegisterPNMFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
