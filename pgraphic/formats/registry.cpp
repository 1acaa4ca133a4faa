#include "pgraphic/formats/registry.h"

#include "core/stream.h"
#include "pgraphic/formats/settings_store.h"
#include "platform/ascii_text.h"
#include "platform/file_ops.h"

#include <algorithm>
#include <mutex>

namespace {

bool LessByExtension(const std::string& A, const std::string& B) {
    return LowerCase(A) < LowerCase(B);
}

struct TRegistry {
    TFileFormatReaders Readers;
    TFileFormatWriters Writers;
    TRegistry() { RegisterBuiltinFormats(Readers, Writers); }
};

TRegistry& Registry() {
    static TRegistry Instance;
    return Instance;
}

std::mutex GSortLock;
TPGSettingsStore<TPGLoadSettings>& LoadSettings() {
    static TPGSettingsStore<TPGLoadSettings> Settings;
    return Settings;
}

} // namespace

// --- Base classes ------------------------------------------------------------------------------

bool TFileFormatReader::CheckSignature(const TPGSignature& /*Header*/) const {
    return false;
}

void TFileFormatReader::ReadImage(TStream& /*Stream*/, TPixelGraphic& /*Graphic*/,
                                  int /*Index*/) const {}

void TFileFormatReader::GetInfo(TStream& /*Stream*/, int /*Index*/, TPGImageFileInfo& Info) const {
    Info.ImageCount = 1;
    Info.BitsPerPixel = 0;
    Info.ColorsText.clear();
    Info.Height = 0;
    Info.Width = 0;
    Info.DetailsText.clear();
    Info.SubFormatText.clear();
}

void TFileFormatWriter::WriteImage(TStream& /*Stream*/, TPixelGraphic& /*Graphic*/) {}
void TFileFormatWriter::BeginFile(TStream& /*Stream*/) {}
void TFileFormatWriter::AddImage(TStream& /*Stream*/, TPixelGraphic& /*Graphic*/) {}
void TFileFormatWriter::EndFile(TStream& /*Stream*/) {}

template <typename T>
void TFileFormatList<T>::EnsureSorted() {
    // Sorting an ordered list changes nothing, so concurrent readers see the same order; the
    // lock only keeps two first searches from sorting at once.
    std::lock_guard Lock(GSortLock);
    const auto Less = [](const std::unique_ptr<T>& A, const std::unique_ptr<T>& B) {
        return LessByExtension(A->Extension(), B->Extension());
    };
    if (!std::is_sorted(FItems.begin(), FItems.end(), Less)) {
        std::stable_sort(FItems.begin(), FItems.end(), Less);
    }
}

template class TFileFormatList<TFileFormatReader>;
template class TFileFormatList<TFileFormatWriter>;

// --- The lists ---------------------------------------------------------------------------------

TFileFormatReaders& FileFormatReaders() {
    return Registry().Readers;
}
TFileFormatWriters& FileFormatWriters() {
    return Registry().Writers;
}

TPGLoadSettings PGLoadSettings() {
    return LoadSettings().Snapshot();
}
long double PGDisplayGamma() {
    return PGLoadSettings().DisplayGamma;
}
void SetPGDisplayGamma(long double Value) {
    LoadSettings().SetField(&TPGLoadSettings::DisplayGamma, Value);
}
void SetPGGammaCorrection(bool Value) {
    LoadSettings().SetField(&TPGLoadSettings::GammaCorrection, Value);
}

// --- Finding readers and describing files ------------------------------------------------------

std::string StripExtensionDot(std::string Extension) {
    if (!Extension.empty() && Extension.front() == '.') {
        Extension.erase(0, 1);
    }
    return Extension;
}

std::string ExtractFormatExtension(const std::string& FileName) {
    const auto Slash = FileName.find_last_of('/');
    const auto Dot = FileName.find_last_of('.');
    if (Dot == std::string::npos || (Slash != std::string::npos && Dot < Slash)) {
        return {};
    }
    return LowerCase(FileName.substr(Dot + 1));
}

const TFileFormatReader* FindFileFormatReader(TStream& Stream, std::string Extension) {
    try {
        Extension = StripExtensionDot(std::move(Extension));
        TPGSignature Header{};
        const std::int64_t Start = Stream.Position();
        try {
            Stream.Read(Header.data(), static_cast<std::int64_t>(Header.size()));
        } catch (...) {
            Stream.SetPosition(Start);
            throw;
        }
        Stream.SetPosition(Start);

        TFileFormatReaders& Readers = FileFormatReaders();
        Readers.EnsureSorted();
        for (const auto& Reader : Readers) {
            if (Reader->HasSignature() && Reader->CheckSignature(Header)) {
                return Reader.get();
            }
        }
        if (Extension.empty()) {
            return nullptr;
        }
        for (const auto& Reader : Readers) {
            if (!Reader->HasSignature() && SameText(Reader->Extension(), Extension)) {
                return Reader.get();
            }
        }
    } catch (...) {
    }
    return nullptr;
}

bool GetImageFileInfoFromStream(TStream& Stream, const std::string& Extension, int Index,
                                TPGImageFileInfo& Info) {
    Info = TPGImageFileInfo{};
    std::int64_t Start = 0;
    try {
        Start = Stream.Position();
        const TFileFormatReader* Reader = FindFileFormatReader(Stream, Extension);
        if (Reader == nullptr) {
            return false;
        }
        Info.Description = Reader->Description();
        Reader->GetInfo(Stream, Index, Info);
        Stream.SetPosition(Start);
        return true;
    } catch (...) {
        Info = TPGImageFileInfo{};
        try {
            Stream.SetPosition(Start);
        } catch (...) {
        }
        return false;
    }
}

bool GetImageFileInfo(const std::string& FileName, int Index, TPGImageFileInfo& Info) {
    Info = TPGImageFileInfo{};
    if (FileName.empty() || !FileExists(FileName)) {
        return false;
    }
    try {
        TFileStream File(FileName, TFileMode::fmOpenRead);
        return GetImageFileInfoFromStream(File, ExtractFormatExtension(FileName), Index, Info);
    } catch (...) {
        Info = TPGImageFileInfo{};
        return false;
    }
}

std::string BuildOpenFilter() {
    TFileFormatReaders& Readers = FileFormatReaders();
    Readers.EnsureSorted();
    std::vector<const TFileFormatReader*> Listed;
    for (const auto& Reader : Readers) {
        if (Reader->Listed()) {
            Listed.push_back(Reader.get());
        }
    }
    std::string Filter;
    if (!Listed.empty()) {
        Filter += "Image files|";
        for (std::size_t I = 0; I < Listed.size(); ++I) {
            Filter += (I == 0 ? "*." : "; *.") + LowerCase(Listed[I]->Extension());
        }
        Filter += "|";
        for (const TFileFormatReader* Reader : Listed) {
            Filter += UpperCase(Reader->Extension()) + " - " + Reader->Description() + "|*." +
                      LowerCase(Reader->Extension()) + "|";
        }
    }
    return Filter + "All files|*.*";
}
