#pragma once

// The connection to libpng shared by the PNG reader and writer: error and warning callbacks that
// turn libpng's reports into ours, the stream input and output, and the check that libpng and zlib
// found at run time are the releases the adapter was built for.

#include "pgraphic/formats/library_guard.h"
#include "pgraphic/image/lang_strings.h"
#include "pgraphic/image/pg_types.h"

#include <cstddef>
#include <cstdint>
#include <png.h>
#include <string_view>

class TStream;

namespace png {

// The chunks the information query reports, in its order: the chunk's type, libpng's flag for it
// and the name the query gives it.
struct TReportedChunk {
    char Type[5];
    png_uint_32 Flag;
    const char* Name;
};
inline constexpr TReportedChunk kReportedChunks[] = {
    {"gAMA", PNG_INFO_gAMA, "gama"}, {"sBIT", PNG_INFO_sBIT, "sbit"},
    {"cHRM", PNG_INFO_cHRM, "chrm"}, {"PLTE", PNG_INFO_PLTE, "plte"},
    {"tRNS", PNG_INFO_tRNS, "trns"}, {"bKGD", PNG_INFO_bKGD, "bkgd"},
    {"hIST", PNG_INFO_hIST, "hist"}, {"pHYs", PNG_INFO_pHYs, "phys"},
    {"oFFs", PNG_INFO_oFFs, "offs"}, {"tIME", PNG_INFO_tIME, "time"}};
inline constexpr std::size_t kGammaChunk = 0;

// What one read, query or write shares with libpng's callbacks.
struct TContext {
    TPGWarningAction WarningAction = pgwaRaise;
    TPGLibraryFailure Failure;
    TStream* Stream = nullptr;
    std::size_t LibraryBytes = 0; // what libpng holds now, while reading
    std::size_t MaxLibraryBytes = 0;
    // Bit I: chunk kReportedChunks[I] was read from the file. (libpng also counts gamma and
    // chromaticities it derived from an sRGB or iCCP chunk as present.)
    std::uint32_t ChunksRead = 0;
};

// The format's failures: "PNG: " and the message.
inline constexpr TPGFormatFailure Fail{"PNG: ", PGFailureOf<EPGPNGFileFormatReaderWriter>};

// Raises "PNG: Invalid library version" unless libpng and zlib found at run time have the major
// and minor version the adapter was compiled against.
void CheckLibraryVersions();
// Whether two version texts ("1.6.39", "1.6.43") agree in their first two numbers.
bool SameMajorMinor(std::string_view A, std::string_view B);

// A libpng read or write object with its info object, connected to a stream; both are destroyed
// with it, whatever happened.
class TPNGObjects {
public:
    TPNGObjects(const TPNGObjects&) = delete;
    TPNGObjects& operator=(const TPNGObjects&) = delete;

    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }
    // Whether chunk kReportedChunks[Index] was read from the file so far.
    bool ChunkRead(std::size_t Index) const { return ((FContext.ChunksRead >> Index) & 1) != 0; }
    // Runs library calls; when libpng fails (or a warning stops the operation), raises.
    template <typename F>
    void Call(F&& Body) {
        if (!CallGuarded(png_jmpbuf(FPng), Body)) {
            RaiseFailure();
        }
    }

protected:
    TPNGObjects(TStream& Stream, TPGWarningAction WarningAction);
    ~TPNGObjects() = default;
    [[noreturn]] void RaiseFailure() const;

    TContext FContext;
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

class TPNGReadObjects : public TPNGObjects {
public:
    // Warnings are handled as WarningAction says (pgwaRaise: every warning fails); libpng may
    // hold at most MaxLibraryBytes at once (PNG settings).
    TPNGReadObjects(TStream& Stream, TPGWarningAction WarningAction, std::size_t MaxLibraryBytes);
    ~TPNGReadObjects();
};

class TPNGWriteObjects : public TPNGObjects {
public:
    TPNGWriteObjects(TStream& Stream, TPGWarningAction WarningAction);
    ~TPNGWriteObjects();
};

} // namespace png
