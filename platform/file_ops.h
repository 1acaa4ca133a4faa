#pragma once

#include <string>

// File services. A failure raises an EFileError (core/stream.h) naming the file and carrying the
// error of the call that failed.

// FileName names a regular file (directly or through a link). Folders, pipes and devices do
// not count, so nothing that could block or never end is taken for a file.
bool FileExists(const std::string& FileName);

// Copies the regular file Existing to New with its permission bits. With FailIfExists an
// existing New is left alone and the copy fails; without it New is overwritten, except that a
// file is never copied onto itself. A copy that fails half-way is removed. A failure raises
// EFCreateError naming New, also when it is Existing that cannot be read.
void CopyFile(const std::string& Existing, const std::string& New, bool FailIfExists);
