#pragma once

#include "pgraphic/formats/registry.h"

class TPixelGraphic;
class TStream;

// JPEG (JFIF) files through libjpeg: "jpg", "jpeg" and "jif" share all code and differ only in
// their extension.

class TJPGFileFormatReader : public TFileFormatReader {
public:
    TJPGFileFormatReader() : TJPGFileFormatReader("jpg") {}
    std::string ClassName() const override { return "TJPGFileFormatReader"; }
    bool CheckSignature(const TPGSignature& Header) const override;
    // Rows are decoded straight into the image; the reader is the Sender of the progress events.
    void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const override;
    void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const override;

protected:
    explicit TJPGFileFormatReader(std::string Extension);
};

class TJPEGFileFormatReader : public TJPGFileFormatReader {
public:
    TJPEGFileFormatReader() : TJPGFileFormatReader("jpeg") {}
    std::string ClassName() const override { return "TJPEGFileFormatReader"; }
};

class TJIFFileFormatReader : public TJPGFileFormatReader {
public:
    TJIFFileFormatReader() : TJPGFileFormatReader("jif") {}
    std::string ClassName() const override { return "TJIFFileFormatReader"; }
};

class TJPGFileFormatWriter : public TFileFormatWriter {
public:
    TJPGFileFormatWriter() : TJPGFileFormatWriter("jpg", true) {}
    std::string ClassName() const override { return "TJPGFileFormatWriter"; }
    // Writes a true-colour image or a bc8 image with the 256-grey palette.
    void WriteImage(TStream& Stream, TPixelGraphic& Graphic) override;

protected:
    TJPGFileFormatWriter(std::string Extension, bool IsListed);
};

class TJPEGFileFormatWriter : public TJPGFileFormatWriter {
public:
    TJPEGFileFormatWriter() : TJPGFileFormatWriter("jpeg", false) {}
    std::string ClassName() const override { return "TJPEGFileFormatWriter"; }
};

class TJIFFileFormatWriter : public TJPGFileFormatWriter {
public:
    TJIFFileFormatWriter() : TJPGFileFormatWriter("jif", false) {}
    std::string ClassName() const override { return "TJIFFileFormatWriter"; }
};

// Registers the JPG, JPEG and JIF readers and writers.
void RegisterJPEGFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);
