#pragma once

#include <cstddef>
#include <string>

// Size bytes of made-up content, the same for the same Seed.
inline std::string RandomBytes(std::size_t Size, unsigned Seed) {
    std::string Bytes(Size, '\0');
    unsigned State = Seed * 2654435761U + 1;
    for (char& B : Bytes) {
        State = State * 1103515245U + 12345U;
        B = static_cast<char>(State >> 16);
    }
    return Bytes;
}
