#pragma once

#include <string>
#include <vector>

// The names in Path, a "/"-separated path inside a FAT volume ("WIN98/SYSTEM"), in order; empty
// ones (a leading, doubled or trailing "/") left out.
inline std::vector<std::string> VolumePathParts(const std::string& Path) {
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    while (Start < Path.size()) {
        std::size_t End = Path.find('/', Start);
        if (End == std::string::npos) {
            End = Path.size();
        }
        if (End > Start) {
            Parts.push_back(Path.substr(Start, End - Start));
        }
        Start = End + 1;
    }
    return Parts;
}
