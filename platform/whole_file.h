#pragma once

#include <string>
#include <string_view>

// Text files read and rewritten as a whole, for files a user keeps, such as settings files.

// The whole regular file FileName in Content; an absent file reads as empty. False when it
// exists but cannot be read or is no regular file, since rewriting it would lose what it holds.
bool ReadWholeFile(const std::string& FileName, std::string& Content);

// Makes Content the contents of FileName, creating it when absent. The file is replaced in one
// step (platform/atomic_file.h), so a write cut short by a crash, a kill or a full disk leaves
// the old file whole; it keeps its permission bits, and a link keeps pointing at it.
//
// A file this process may not write is refused (false, errno EACCES, EPERM or EROFS) and left as
// it is, although its folder would let a rename replace it. Where a replacement would change
// more than the contents (a file of another owner or with further hard links) or the folder
// takes no new file, a writable file is written in place instead, as the only way left.
bool RewriteWholeFile(const std::string& FileName, std::string_view Content);
