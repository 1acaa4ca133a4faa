#include "pgraphic/formats/png/png_library.h"

#include "core/stream.h"
#include "pgraphic/formats/library_warning.h"
#include "pgraphic/image/pg_exceptions.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <zlib.h>

namespace png {

namespace {

TContext& ContextOf(png_structp Png) {
    return *static_cast<TContext*>(png_get_error_ptr(Png));
}

TContext& StreamContextOf(png_structp Png) {
    return *static_cast<TContext*>(png_get_io_ptr(Png));
}

// --- Errors and warnings ------------------------------------------------------------------------
// When the operation stops, both callbacks longjmp to the guard of the running call, with no
// object of ours left to destroy in between.

void ErrorFn(png_structp Png, png_const_charp Message) noexcept {
    ContextOf(Png).Failure.SetMessage(Message != nullptr ? Message : "");
    png_longjmp(Png, 1);
}

void WarningFn(png_structp Png, png_const_charp Message) noexcept {
    TContext& Context = ContextOf(Png);
    if (LibraryWarningStops(Context.WarningAction, "PNG", Message, Context.Failure)) {
        png_longjmp(Png, 1);
    }
}

// --- Stream input and output --------------------------------------------------------------------

// Moves Length bytes; 1 when all moved, 0 when fewer, -1 when the stream failed (recorded).
template <typename F>
int Transfer(TContext& Context, std::size_t Length, F&& Move) noexcept {
    try {
        return Move(*Context.Stream) == static_cast<std::int64_t>(Length) ? 1 : 0;
    } catch (...) {
        Context.Failure.SetException(std::current_exception());
        return -1;
    }
}

// Notes which of the reported chunks libpng is reading.
void NoteChunk(png_structp Png, TContext& Context) noexcept {
    if ((png_get_io_state(Png) & (PNG_IO_CHUNK_DATA | PNG_IO_CHUNK_CRC)) == 0) {
        return;
    }
    const png_uint_32 Type = png_get_io_chunk_type(Png);
    for (std::size_t I = 0; I < std::size(kReportedChunks); ++I) {
        const char* Name = kReportedChunks[I].Type;
        const png_uint_32 Code =
            static_cast<png_uint_32>(Name[0]) << 24 | static_cast<png_uint_32>(Name[1]) << 16 |
            static_cast<png_uint_32>(Name[2]) << 8 | static_cast<png_uint_32>(Name[3]);
        if (Type == Code) {
            Context.ChunksRead |= std::uint32_t{1} << I;
        }
    }
}

void ReadData(png_structp Png, png_bytep Data, std::size_t Length) noexcept {
    TContext& Context = StreamContextOf(Png);
    NoteChunk(Png, Context);
    const int Result = Transfer(Context, Length, [&](TStream& Stream) {
        return Stream.Read(Data, static_cast<std::int64_t>(Length));
    });
    if (Result < 0) {
        png_longjmp(Png, 1);
    }
    if (Result == 0) {
        png_error(Png, "Read Error");
    }
}

void WriteData(png_structp Png, png_bytep Data, std::size_t Length) noexcept {
    const int Result = Transfer(StreamContextOf(Png), Length, [&](TStream& Stream) {
        return Stream.Write(Data, static_cast<std::int64_t>(Length));
    });
    if (Result < 0) {
        png_longjmp(Png, 1);
    }
    if (Result == 0) {
        png_error(Png, "Write Error");
    }
}

void FlushData(png_structp /*Png*/) noexcept {}

// --- Memory while reading, at most MaxLibraryBytes at once --------------------------------
// Each block carries its size in front, so that freeing can count it back. A request beyond the
// budget gets nothing, which libpng reports as an error or, for an ancillary chunk, a warning.

constexpr std::size_t kBlockHeader = alignof(std::max_align_t);

TContext& MemoryContextOf(png_structp Png) {
    return *static_cast<TContext*>(png_get_mem_ptr(Png));
}

png_voidp AllocateCounted(png_structp Png, png_alloc_size_t Size) noexcept {
    TContext& Context = MemoryContextOf(Png);
    if (Size > Context.MaxLibraryBytes - Context.LibraryBytes) {
        return nullptr;
    }
    auto* Block = static_cast<unsigned char*>(std::malloc(Size + kBlockHeader));
    if (Block == nullptr) {
        return nullptr;
    }
    std::memcpy(Block, &Size, sizeof Size);
    Context.LibraryBytes += Size;
    return Block + kBlockHeader;
}

void FreeCounted(png_structp Png, png_voidp Pointer) noexcept {
    if (Pointer == nullptr) {
        return;
    }
    auto* Block = static_cast<unsigned char*>(Pointer) - kBlockHeader;
    png_alloc_size_t Size = 0;
    std::memcpy(&Size, Block, sizeof Size);
    MemoryContextOf(Png).LibraryBytes -= Size;
    std::free(Block);
}

} // namespace

bool SameMajorMinor(std::string_view A, std::string_view B) {
    const auto MajorMinor = [](std::string_view V) {
        const auto First = V.find('.');
        if (First == std::string_view::npos || First == 0) {
            return std::string_view{};
        }
        const auto Second = V.find_first_not_of("0123456789", First + 1);
        return V.substr(0, Second);
    };
    const std::string_view Left = MajorMinor(A);
    return !Left.empty() && Left.back() != '.' && Left == MajorMinor(B);
}

void CheckLibraryVersions() {
    const char* Png = png_get_libpng_ver(nullptr);
    const char* Zlib = zlibVersion();
    if (Png == nullptr || Zlib == nullptr || !SameMajorMinor(Png, PNG_LIBPNG_VER_STRING) ||
        !SameMajorMinor(Zlib, ZLIB_VERSION)) {
        Fail(TPGLangStrId::InvalidLibraryVersion);
    }
}

TPNGObjects::TPNGObjects(TStream& Stream, TPGWarningAction WarningAction) {
    FContext.Stream = &Stream;
    FContext.WarningAction = WarningAction;
}

void TPNGObjects::RaiseFailure() const {
    FContext.Failure.Raise(Fail);
}

TPNGReadObjects::TPNGReadObjects(TStream& Stream, TPGWarningAction WarningAction,
                                 std::size_t MaxLibraryBytes)
    : TPNGObjects(Stream, WarningAction) {
    FContext.MaxLibraryBytes = MaxLibraryBytes;
    FPng = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, &FContext, ErrorFn, WarningFn, &FContext,
                                    AllocateCounted, FreeCounted);
    if (FPng == nullptr) {
        Fail(TPGLangStrId::Failed, "png_create_read_struct");
    }
    FInfo = png_create_info_struct(FPng);
    if (FInfo == nullptr) {
        png_destroy_read_struct(&FPng, nullptr, nullptr);
        Fail(TPGLangStrId::Failed, "png_create_info_struct");
    }
    png_set_read_fn(FPng, &FContext, ReadData);
}

TPNGReadObjects::~TPNGReadObjects() {
    png_destroy_read_struct(&FPng, &FInfo, nullptr);
}

TPNGWriteObjects::TPNGWriteObjects(TStream& Stream, TPGWarningAction WarningAction)
    : TPNGObjects(Stream, WarningAction) {
    FPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, &FContext, ErrorFn, WarningFn);
    if (FPng == nullptr) {
        Fail(TPGLangStrId::Failed, "png_create_write_struct");
    }
    FInfo = png_create_info_struct(FPng);
    if (FInfo == nullptr) {
        png_destroy_write_struct(&FPng, nullptr);
        Fail(TPGLangStrId::Failed, "png_create_info_struct");
    }
    png_set_write_fn(FPng, &FContext, WriteData, FlushData);
}

TPNGWriteObjects::~TPNGWriteObjects() {
    png_destroy_write_struct(&FPng, &FInfo);
}

} // namespace png
