#pragma once

#include <string>

// Path text helpers; "/" is the only separator.

// Path with a "/" appended unless it already ends in one.
std::string IncludeTrailingPathDelimiter(const std::string& Path);

// The folder part of FileName up to and including its last "/"; empty when there is none.
std::string ExtractFilePath(const std::string& FileName);

// The name part of FileName after its last "/"; all of it when there is none.
std::string ExtractFileName(const std::string& FileName);

// Path without its trailing "/"s; the root "/" stays as it is.
std::string ExcludeTrailingPathDelimiter(std::string Path);

// FileName made absolute against the current folder, with "." and ".." parts and doubled "/"
// removed (lexically, links are not followed); FileName as it is when the current folder is
// unknown.
std::string ExpandFileName(const std::string& FileName);

// FileName with its extension (from the last "." of its last component) replaced by Extension,
// which includes its dot; a name without an extension gets Extension appended.
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
