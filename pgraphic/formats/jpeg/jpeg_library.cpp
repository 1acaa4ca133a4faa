#include "pgraphic/formats/jpeg/jpeg_library.h"

#include "core/stream.h"
#include "pgraphic/formats/library_warning.h"
#include "pgraphic/image/pg_exceptions.h"

#include <algorithm>
#include <csetjmp>
#include <jerror.h>
#include <limits>

namespace jpeg {

namespace {

TContext& ContextOf(j_common_ptr Info) {
    return *static_cast<TContext*>(Info->client_data);
}

j_common_ptr Common(j_decompress_ptr Info) {
    return reinterpret_cast<j_common_ptr>(Info);
}

j_common_ptr Common(j_compress_ptr Info) {
    return reinterpret_cast<j_common_ptr>(Info);
}

// --- Error manager ---------------------------------------------------------------------------
// Neither callback returns into the library when the operation stops: both longjmp to the guard
// of the running call, with no object of ours left to destroy in between.

// The message of a file whose whole-image buffers would exceed the memory limit, "Invalid size of
// image", as for an image too large to hold. (The library would offer to swap them to a backing
// store, which it does not have.)
const char* ImageTooLarge() noexcept {
    static const std::string Text =
        PGLangStr(TPGLangStrId::InvalidSizeOf, PGLangStr(TPGLangStrId::ImageWord));
    return Text.c_str();
}

void ErrorExit(j_common_ptr Info) noexcept {
    TContext& Context = ContextOf(Info);
    if (Info->err->msg_code == JERR_NO_BACKING_STORE) {
        Context.Failure.SetMessage(ImageTooLarge());
    } else {
        char Text[JMSG_LENGTH_MAX];
        (*Info->err->format_message)(Info, Text);
        Context.Failure.SetMessage(Text);
    }
    std::longjmp(Context.Jump, 1);
}

void OutputMessage(j_common_ptr Info) noexcept {
    TContext& Context = ContextOf(Info);
    char Text[JMSG_LENGTH_MAX];
    (*Info->err->format_message)(Info, Text);
    if (LibraryWarningStops(Context.WarningAction, "JPG", Text, Context.Failure)) {
        std::longjmp(Context.Jump, 1);
    }
}

void InstallErrorManager(j_common_ptr Info, TContext& Context) {
    Info->err = jpeg_std_error(&Context.Error);
    Context.Error.error_exit = ErrorExit;
    Context.Error.output_message = OutputMessage;
    Info->client_data = &Context;
}

// Raises the library error Code through the error manager.
[[noreturn]] void LibraryError(j_common_ptr Info, int Code) {
    Info->err->msg_code = Code;
    (*Info->err->error_exit)(Info);
    std::abort(); // error_exit never returns
}

// The message of a file with too many scans, "Scan count out of range".
const char* TooManyScans() noexcept {
    static const std::string Text = PGLangStr(TPGLangStrId::OutOfRange, "Scan count");
    return Text.c_str();
}

// Stops a file with more than kMaxScans scans; the library calls this between units of work.
void MonitorScans(j_common_ptr Info) noexcept {
    if (!Info->is_decompressor ||
        reinterpret_cast<j_decompress_ptr>(Info)->input_scan_number <= kMaxScans) {
        return;
    }
    TContext& Context = ContextOf(Info);
    Context.Failure.SetMessage(TooManyScans());
    std::longjmp(Context.Jump, 1);
}

// --- Stream source ------------------------------------------------------------------------------

void InitSource(j_decompress_ptr Info) noexcept {
    TContext& Context = ContextOf(Common(Info));
    Context.Buffer = static_cast<JOCTET*>(
        (*Info->mem->alloc_small)(Common(Info), JPOOL_IMAGE, kBufferSize * sizeof(JOCTET)));
    Context.StartOfFile = true;
}

// Up to a buffer of bytes from the stream; -1 when the stream failed (the failure is recorded).
std::int64_t ReadSome(TContext& Context) noexcept {
    try {
        return Context.Stream->Read(Context.Buffer, static_cast<std::int64_t>(kBufferSize));
    } catch (...) {
        Context.Failure.SetException(std::current_exception());
        return -1;
    }
}

boolean FillInputBuffer(j_decompress_ptr Info) noexcept {
    TContext& Context = ContextOf(Common(Info));
    std::int64_t Count = ReadSome(Context);
    if (Count < 0) {
        std::longjmp(Context.Jump, 1);
    }
    if (Count == 0) {
        if (Context.StartOfFile) {
            LibraryError(Common(Info), JERR_INPUT_EMPTY);
        }
        Info->err->msg_code = JWRN_JPEG_EOF;
        (*Info->err->emit_message)(Common(Info), -1);
        // An end-of-image marker lets the library finish what it has.
        Context.Buffer[0] = 0xFF;
        Context.Buffer[1] = JPEG_EOI;
        Count = 2;
    }
    Info->src->next_input_byte = Context.Buffer;
    Info->src->bytes_in_buffer = static_cast<std::size_t>(Count);
    Context.StartOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr Info, long Count) noexcept {
    if (Count <= 0) {
        return;
    }
    jpeg_source_mgr& Source = *Info->src;
    auto Rest = static_cast<std::size_t>(Count);
    while (Rest > Source.bytes_in_buffer) {
        Rest -= Source.bytes_in_buffer;
        (*Source.fill_input_buffer)(Info);
    }
    Source.next_input_byte += Rest;
    Source.bytes_in_buffer -= Rest;
}

void TermSource(j_decompress_ptr /*Info*/) noexcept {}

// --- Stream destination -------------------------------------------------------------------------

void InitDestination(j_compress_ptr Info) noexcept {
    TContext& Context = ContextOf(Common(Info));
    Context.Buffer = static_cast<JOCTET*>(
        (*Info->mem->alloc_small)(Common(Info), JPOOL_IMAGE, kBufferSize * sizeof(JOCTET)));
    Info->dest->next_output_byte = Context.Buffer;
    Info->dest->free_in_buffer = kBufferSize;
}

// Writes Count buffered bytes; false when the stream failed (the failure is recorded) or took
// fewer bytes.
bool WriteOut(TContext& Context, std::size_t Count, bool& Short) noexcept {
    try {
        Short = Context.Stream->Write(Context.Buffer, static_cast<std::int64_t>(Count)) !=
                static_cast<std::int64_t>(Count);
        return !Short;
    } catch (...) {
        Context.Failure.SetException(std::current_exception());
        return false;
    }
}

void Flush(j_compress_ptr Info, std::size_t Count) noexcept {
    TContext& Context = ContextOf(Common(Info));
    bool Short = false;
    if (!WriteOut(Context, Count, Short)) {
        if (Short) {
            LibraryError(Common(Info), JERR_FILE_WRITE);
        }
        std::longjmp(Context.Jump, 1);
    }
}

boolean EmptyOutputBuffer(j_compress_ptr Info) noexcept {
    Flush(Info, kBufferSize);
    Info->dest->next_output_byte = ContextOf(Common(Info)).Buffer;
    Info->dest->free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr Info) noexcept {
    const std::size_t Used = kBufferSize - Info->dest->free_in_buffer;
    if (Used > 0) {
        Flush(Info, Used);
    }
}

} // namespace

int MarkerVersion(std::string_view Marker) {
    if (Marker.size() < 2 || Marker[0] < '1' || Marker[0] > '9' || Marker[1] < 'a' ||
        Marker[1] > 'z') {
        return 0;
    }
    return (Marker[0] - '0') * 10 + (Marker[1] - 'a' + 1);
}

void CheckLibraryVersion() {
    jpeg_error_mgr Probe{};
    jpeg_std_error(&Probe);
    const bool Known =
        Probe.jpeg_message_table != nullptr && Probe.last_jpeg_message >= JMSG_VERSION;
    if (!Known || MarkerVersion(Probe.jpeg_message_table[JMSG_VERSION]) != JPEG_LIB_VERSION) {
        Fail(TPGLangStrId::InvalidLibraryVersion);
    }
}

TLibraryObject::TLibraryObject(TStream& Stream, TPGWarningAction WarningAction) {
    FContext.Stream = &Stream;
    FContext.WarningAction = WarningAction;
}

void TLibraryObject::RaiseFailure() const {
    FContext.Failure.Raise(Fail);
}

TDecompressor::TDecompressor(TStream& Stream, TPGWarningAction WarningAction, std::size_t MaxMemory)
    : TLibraryObject(Stream, WarningAction) {
    InstallErrorManager(Common(&FInfo), FContext);
    if (!CallGuarded(FContext.Jump,
                     [&] { jpeg_CreateDecompress(&FInfo, JPEG_LIB_VERSION, sizeof(FInfo)); })) {
        jpeg_destroy_decompress(&FInfo); // whatever creation allocated before it failed
        RaiseFailure();
    }
    // Creation keeps err and client_data and clears the rest.
    FSource.init_source = InitSource;
    FSource.fill_input_buffer = FillInputBuffer;
    FSource.skip_input_data = SkipInputData;
    FSource.resync_to_restart = jpeg_resync_to_restart;
    FSource.term_source = TermSource;
    FInfo.src = &FSource;
    FProgress.progress_monitor = MonitorScans;
    FInfo.progress = &FProgress;
    // Whole-image buffers beyond the limit fail when decompression starts, before they are
    // allocated.
    FInfo.mem->max_memory_to_use =
        static_cast<long>(std::min<std::size_t>(MaxMemory, std::numeric_limits<long>::max()));
}

TDecompressor::~TDecompressor() {
    jpeg_destroy_decompress(&FInfo);
}

TCompressor::TCompressor(TStream& Stream, TPGWarningAction WarningAction)
    : TLibraryObject(Stream, WarningAction) {
    InstallErrorManager(Common(&FInfo), FContext);
    if (!CallGuarded(FContext.Jump,
                     [&] { jpeg_CreateCompress(&FInfo, JPEG_LIB_VERSION, sizeof(FInfo)); })) {
        jpeg_destroy_compress(&FInfo);
        RaiseFailure();
    }
    FDestination.init_destination = InitDestination;
    FDestination.empty_output_buffer = EmptyOutputBuffer;
    FDestination.term_destination = TermDestination;
    FInfo.dest = &FDestination;
}

TCompressor::~TCompressor() {
    jpeg_destroy_compress(&FInfo);
}

} // namespace jpeg
