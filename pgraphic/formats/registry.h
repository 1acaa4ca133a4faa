#pragma once

#include "core/object.h"
#include "pgraphic/formats/color_resolution.h"
#include "pgraphic/image/display_gamma.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPixelGraphic;
class TStream;

// The first bytes of a file, as readers recognise their format from them.
constexpr std::size_t kSignatureSize = 17;
using TPGSignature = std::array<std::uint8_t, kSignatureSize>;

// What a reader tells about a file without reading its pixels.
struct TPGImageFileInfo {
    std::string Description;
    int ImageCount = 0;
    int BitsPerPixel = 0;
    std::string ColorsText;
    int Height = 0;
    int Width = 0;
    std::string DetailsText;
    std::string SubFormatText;
};

// Common ground of the reader and writer of one file extension.
class TFileFormatReaderWriter : public TObject {
public:
    TFileFormatReaderWriter(std::string Extension, std::string Description)
        : FExtension(std::move(Extension)), FDescription(std::move(Description)) {}

    // Readers: shown in the open-dialog filter. Writers: the main extension of the format.
    bool Listed() const { return FListed; }
    // Lower case, without the dot ("bmp").
    const std::string& Extension() const { return FExtension; }
    const std::string& Description() const { return FDescription; }
    // The class name, as messages name a writer ("TJPGFileFormatWriter").
    virtual std::string ClassName() const = 0;

protected:
    void SetListed(bool Value) { FListed = Value; }

private:
    bool FListed = true;
    std::string FExtension;
    std::string FDescription;
};

class TFileFormatReader : public TFileFormatReaderWriter {
public:
    using TFileFormatReaderWriter::TFileFormatReaderWriter;

    // Whether the reader recognises its files from their first bytes.
    bool HasSignature() const { return FHasSignature; }
    virtual bool CheckSignature(const TPGSignature& Header) const;
    // Reads image Index from the stream's position into Graphic.
    virtual void ReadImage(TStream& Stream, TPixelGraphic& Graphic, int Index) const;
    // Describes image Index, reading only what it needs. The default: one image, nothing known.
    virtual void GetInfo(TStream& Stream, int Index, TPGImageFileInfo& Info) const;

protected:
    void SetHasSignature(bool Value) { FHasSignature = Value; }

private:
    bool FHasSignature = false;
};

class TFileFormatWriter : public TFileFormatReaderWriter {
public:
    using TFileFormatReaderWriter::TFileFormatReaderWriter;

    // The writer stores several images per file through BeginFile, AddImage and EndFile.
    bool MultiImage() const { return FMultiImage; }
    TColorResolutions CanWriteResolutions() const { return FCanWriteResolutions; }

    virtual void WriteImage(TStream& Stream, TPixelGraphic& Graphic);
    virtual void BeginFile(TStream& Stream);
    virtual void AddImage(TStream& Stream, TPixelGraphic& Graphic);
    virtual void EndFile(TStream& Stream);

protected:
    void SetMultiImage(bool Value) { FMultiImage = Value; }
    void SetCanWriteResolutions(TColorResolutions Value) { FCanWriteResolutions = Value; }
    void SetWriterListed(bool Value) { SetListed(Value); }

private:
    bool FMultiImage = false;
    TColorResolutions FCanWriteResolutions = 0;
};

// A process-wide list of readers or writers, kept in ascending order of extension whenever it
// is searched.
template <typename T>
class TFileFormatList {
public:
    void Add(std::unique_ptr<T> Item) { FItems.push_back(std::move(Item)); }
    // Sorts by extension (case-insensitive) unless already in order.
    void EnsureSorted();
    std::size_t Count() const { return FItems.size(); }
    T& operator[](std::size_t Index) const { return *FItems[Index]; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<std::unique_ptr<T>> FItems;
};

using TFileFormatReaders = TFileFormatList<TFileFormatReader>;
using TFileFormatWriters = TFileFormatList<TFileFormatWriter>;

// The lists, filled with every format at first use.
TFileFormatReaders& FileFormatReaders();
TFileFormatWriters& FileFormatWriters();

// Fills the lists with every format of the library, in registration order.
void RegisterBuiltinFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers);

// The extension without one leading dot.
std::string StripExtensionDot(std::string Extension);

// The file name's extension, lower-cased, without the dot ("" if none).
std::string ExtractFormatExtension(const std::string& FileName);

// The reader for the stream's content (first 17 bytes), else for the extension among readers
// without a signature; none when neither fits. Never raises.
const TFileFormatReader* FindFileFormatReader(TStream& Stream, std::string Extension);

// Describes a file: false (and Info cleared) when no reader fits or anything fails. The stream
// is left where it was.
bool GetImageFileInfoFromStream(TStream& Stream, const std::string& Extension, int Index,
                                TPGImageFileInfo& Info);
bool GetImageFileInfo(const std::string& FileName, int Index, TPGImageFileInfo& Info);

// The filter string of the picture open dialog.
std::string BuildOpenFilter();

// Process-wide settings of the load pipeline. The program keeps the defaults.
struct TPGLoadSettings {
    // The gamma images are shown with; readers give images this gamma unless the file says
    // otherwise.
    long double DisplayGamma = kDefaultDisplayGamma;
    // Loading corrects an image whose gamma differs from the display gamma by more than 5 %.
    bool GammaCorrection = true;
};

// The settings as they stand: a load takes one snapshot.
TPGLoadSettings PGLoadSettings();
// The display gamma alone, as readers set it.
long double PGDisplayGamma();
void SetPGDisplayGamma(long double Value);
void SetPGGammaCorrection(bool Value);
