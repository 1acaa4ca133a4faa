#pragma once

#include "platform/file_descriptor.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

// Whole transfers on open file descriptors, retried when a signal interrupts them, for a file
// being written. A failure raises EFCreateError (core/stream.h) naming FileName, the file being
// written, with the error of the call that failed.

// Writes all of Data to Handle.
void WriteAll(int Handle, std::string_view Data, const std::string& FileName);

// Copies everything from Source's position to its end into Target.
void CopyContents(int Source, int Target, const std::string& FileName);

// The source of a copy, open for reading, with its status.
struct TCopySource {
    TFileDescriptor Handle;
    struct stat Info {};
};

// Opens Source, which must be a regular file (EINVAL otherwise), for reading, without waiting on
// a pipe or device: the source of a copy into FileName.
TCopySource OpenCopySource(const std::string& Source, const std::string& FileName);

// Closes Handle, a file written to, whose data the system may report lost only now.
void CloseWritten(TFileDescriptor& Handle, const std::string& FileName);
