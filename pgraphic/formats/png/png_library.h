#pragma once

// The connection to libpng shared by the PNG reader and writer: error and warning callbacks that
// turn libpng's reports into ours, the stream input and output, and the check that libpng and zlib
// found at run time are the releases the adapter was built for.

#include "core/lang_strings.h"
#include "pgraphic/formats/library_guard.h"
#include "pgraphic/image/pg_types.h"

#include <cstddef>
#include <png.h>
#include <string_view>

class TStream;

namespace png {

inline constexpr std::string_view kPrefix = "PNG: ";

// What one read, query or write shares with libpng's callbacks.
struct TContext {
    TPGWarningAction WarningAction = pgwaRaise;
    TPGLibraryFailure Failure;
    TStream* Stream = nullptr;
    std::size_t LibraryBytes = 0; // what libpng holds now, while reading
    std::size_t MaxLibraryBytes = 0;
};

// Raises the format's failure: "PNG: " and the table text.
[[noreturn]] void Fail(TPGLangStrId Id, const char* S1 = nullptr);

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
    // Warnings are handled as WarningAction says (pgwaRaise: every warning fails).
    TPNGReadObjects(TStream& Stream, TPGWarningAction WarningAction);
    ~TPNGReadObjects();
};

class TPNGWriteObjects : public TPNGObjects {
public:
    TPNGWriteObjects(TStream& Stream, TPGWarningAction WarningAction);
    ~TPNGWriteObjects();
};

} // namespace png
