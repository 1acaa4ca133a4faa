#pragma once

#include "core/stream.h"

#include <cstdint>

// Integers of the window description streams: a tag byte naming the width (2: one byte, 3: two
// bytes, 4: four bytes) followed by the value, little-endian, in the smallest width that holds it.

void WriteTaggedInteger(TStream& Stream, std::int32_t Value);
// Raises EReadError "Invalid property value" for any other tag, "Stream read error" when short.
std::int32_t ReadTaggedInteger(TStream& Stream);
