#pragma once

// The connection to libjpeg shared by the JPEG reader and writer: the error manager that turns the
// library's errors and warnings into ours, the stream source and destination, and the check that
// the library found at run time is the one the adapter was built for.

#include "pgraphic/formats/library_guard.h"
#include "pgraphic/image/lang_strings.h"
#include "pgraphic/image/pg_types.h"

// clang-format off
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <string_view>

class TStream;

namespace jpeg {

// Bytes moved between the library and the stream at a time.
inline constexpr std::size_t kBufferSize = 4096;
// Scans a file may have. Real files have about ten; the library must process the whole image for
// every scan, so a few bytes per scan repeated thousands of times would keep it busy for minutes.
inline constexpr int kMaxScans = 100;

// What one read, query or write shares with the library's callbacks (through client_data).
struct TContext {
    jpeg_error_mgr Error{};
    std::jmp_buf Jump{};
    TPGWarningAction WarningAction = pgwaRaise;
    TPGLibraryFailure Failure;
    TStream* Stream = nullptr;
    JOCTET* Buffer = nullptr;
    bool StartOfFile = false;
};

// The format's failures: "JPG: " and the message.
inline constexpr TPGFormatFailure Fail{"JPG: ", PGFailureOf<EPGJPGFileFormatReaderWriter>};

// Raises "JPG: Invalid library version" unless the library found at run time implements the
// interface version the adapter was compiled against.
void CheckLibraryVersion();
// The interface version a libjpeg version text names ("6b  27-Mar-1998" is 62); 0 for none.
int MarkerVersion(std::string_view Marker);

// A libjpeg object with its error manager and stream; library calls go through Call.
class TLibraryObject {
public:
    TLibraryObject(const TLibraryObject&) = delete;
    TLibraryObject& operator=(const TLibraryObject&) = delete;

    // Runs library calls; when the library fails (or a warning stops it), raises the failure.
    template <typename F>
    void Call(F&& Body) {
        if (!CallGuarded(FContext.Jump, Body)) {
            RaiseFailure();
        }
    }

protected:
    // Warnings are handled as WarningAction says (pgwaRaise: every warning fails).
    TLibraryObject(TStream& Stream, TPGWarningAction WarningAction);
    ~TLibraryObject() = default;
    [[noreturn]] void RaiseFailure() const;

    TContext FContext;
};

// A decompressor reading from a stream; destroyed with the object, whatever happened.
class TDecompressor : public TLibraryObject {
public:
    // MaxMemory bounds what the library may hold at once (JPEG settings).
    TDecompressor(TStream& Stream, TPGWarningAction WarningAction, std::size_t MaxMemory);
    ~TDecompressor();
    jpeg_decompress_struct& Info() { return FInfo; }

private:
    jpeg_source_mgr FSource{};
    jpeg_progress_mgr FProgress{}; // watches the number of scans
    jpeg_decompress_struct FInfo{};
};

// A compressor writing to a stream; destroyed with the object, whatever happened.
class TCompressor : public TLibraryObject {
public:
    TCompressor(TStream& Stream, TPGWarningAction WarningAction);
    ~TCompressor();
    jpeg_compress_struct& Info() { return FInfo; }

private:
    jpeg_destination_mgr FDestination{};
    jpeg_compress_struct FInfo{};
};

} // namespace jpeg
