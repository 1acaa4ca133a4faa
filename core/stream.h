#pragma once

#include "core/exception.h"
#include "core/object.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Byte streams: files, growable memory and a caller's memory block, with the whole-record
// reads and writes that raise on a short transfer.

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
// A read failed or ended before a whole record ("Stream read error" unless told otherwise).
class EReadError : public EStreamError {
public:
    EReadError();
    explicit EReadError(const std::string& Message) : EStreamError(Message) {}
};
class EWriteError : public EStreamError {
public:
    EWriteError();
};
// A file could not be opened, created or changed. The message names the file and gives the
// system's reason (What "FileName". Reason); FileName and ErrorCode, the system's error number
// taken where the call failed, tell the same to a caller.
class EFileError : public EStreamError {
public:
    EFileError(std::string_view What, const std::string& FileName, int ErrorCode);
    const std::string& FileName() const { return FFileName; }
    int ErrorCode() const { return FErrorCode; }

private:
    std::string FFileName;
    int FErrorCode;
};
// "Cannot open file "FileName". Reason"
class EFOpenError : public EFileError {
public:
    EFOpenError(const std::string& FileName, int ErrorCode);
};
// "Cannot create file "FileName". Reason"
class EFCreateError : public EFileError {
public:
    EFCreateError(const std::string& FileName, int ErrorCode);
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
public:
    // Moves up to Count bytes; returns how many were moved (0 at the end).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();

    // Exactly Count bytes, or "Stream read error" / "Stream write error".
    void ReadBuffer(void* Buffer, std::int64_t Count);
    void WriteBuffer(const void* Buffer, std::int64_t Count);
    // Count bytes from Source's position (all the rest when Count is 0); returns the count.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

enum class TFileMode { fmOpenRead, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
public:
    TFileStream(const std::string& FileName, TFileMode Mode);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    ~TFileStream() override;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;

private:
    int FHandle = -1;
};

// A stream over a block of memory it does not own: reads and writes stay inside the block.
class TBlockStream : public TStream {
public:
    TBlockStream(void* Memory, std::int64_t BlockSize);
    TBlockStream(const void* Memory, std::int64_t BlockSize); // read-only

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return FSize; }

private:
    const std::uint8_t* FData;
    std::uint8_t* FWritable;
    std::int64_t FSize;
    std::int64_t FPosition = 0;
};

// A growable stream in memory, owned.
class TMemoryStream : public TStream {
public:
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FData.size()); }
    const std::vector<std::uint8_t>& Bytes() const { return FData; }
    std::uint8_t* Memory() { return FData.data(); }

private:
    std::vector<std::uint8_t> FData;
    std::int64_t FPosition = 0;
};
