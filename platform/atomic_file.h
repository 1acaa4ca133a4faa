#pragma once

#include <string>
#include <string_view>

// Files put in place in one step. The new contents go to a temporary file beside the target,
// are flushed to disk and renamed to the target's name, so that at every instant the target is
// either the old or the new complete file: also when the writer is killed, the disk fills up or
// two writers race (each writes its own temporary file; the last rename wins).
//
// A temporary file is named "." + the target's name + ".tmp-" + six random letters and digits,
// and its writer holds a lock on it while it exists. A writer killed half-way leaves its file
// behind unlocked; the next write of the same target removes it (RemoveStaleTemporaryFiles).
//
// A failure raises EFCreateError (core/stream.h) naming the target, with the error of the call
// that failed; nothing of its own is left behind.

enum class TReplaceMode {
    rmReplace,      // an existing target is replaced; the new file keeps its permission bits
    rmFailIfExists, // an existing target stays as it is and the call fails with EEXIST
};

// Writes Data as FileName. A new file gets the permission bits 0666 less the process's umask.
void WriteFileAtomically(const std::string& FileName, std::string_view Data, TReplaceMode Mode);

// Copies the regular file Existing to New, with Existing's permission bits. A failure names New,
// also when it is Existing that cannot be read.
void CopyFileAtomically(const std::string& Existing, const std::string& New, TReplaceMode Mode);

// Removes the temporary files of FileName that no writer holds any more.
void RemoveStaleTemporaryFiles(const std::string& FileName);

// Whether Name (without folder) is a temporary file of the target named Target (without folder).
bool IsTemporaryFileOf(std::string_view Name, std::string_view Target);
