#pragma once

#include <string>

// File services. Each reports failure by returning false and leaves errno as the system set it.

// FileName names a regular file (directly or through a link). Folders, pipes and devices do
// not count, so nothing that could block or never end is taken for a file.
bool FileExists(const std::string& FileName);

// Copies the regular file Existing to New with its permission bits. With FailIfExists an
// existing New is left alone and the copy fails; without it New is overwritten, except that a
// file is never copied onto itself. A copy that fails half-way is removed.
bool CopyFile(const std::string& Existing, const std::string& New, bool FailIfExists);
