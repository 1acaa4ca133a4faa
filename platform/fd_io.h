#pragma once

#include <cstddef>

// Whole transfers on open file descriptors, retried when a signal interrupts them. Both return
// false with errno set when the system fails.

// Writes all Size bytes of Data to Handle.
bool WriteAll(int Handle, const char* Data, std::size_t Size);

// Copies everything from Source's position to its end into Target.
bool CopyContents(int Source, int Target);
