#pragma once

#include <string>
#include <string_view>

// Text files read and rewritten as a whole, for files a user keeps, such as settings files.

// What reading an absent file comes to.
enum class TAbsentFile {
    afRefused,   // a failure, as for any file that cannot be read
    afReadsEmpty // no text, as for a settings file that its first write creates
};

// The whole regular file FileName. Raises EFOpenError (core/stream.h) naming it when it exists
// but cannot be read or is no regular file, since rewriting it would lose what it holds, and
// when it is absent unless Absent says it reads as empty.
std::string ReadWholeFile(const std::string& FileName, TAbsentFile Absent);

// Makes Content the contents of FileName, creating it when absent. The file is replaced in one
// step (platform/atomic_file.h), so a write cut short by a crash, a kill or a full disk leaves
// the old file whole; it keeps its permission bits, and a link keeps pointing at it.
//
// A file this process may not write is refused (EACCES, EPERM or EROFS) and left as it is,
// although its folder would let a rename replace it. Where a replacement would change more than
// the contents (a file of another owner or with further hard links) or the folder takes no new
// file, a writable file is written in place instead, as the only way left. A failure raises
// EFCreateError naming the file written (the one a link names).
void RewriteWholeFile(const std::string& FileName, std::string_view Content);
