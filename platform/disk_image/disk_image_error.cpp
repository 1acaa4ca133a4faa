#include "platform/disk_image/disk_image_error.h"

#include <cstring>

EDiskImage ImageSystemFailure(const std::string& FileName, std::string_view Problem, int Error) {
    return EDiskImage("The disk image \"" + FileName + "\" " + std::string(Problem) + ": " +
                      std::strerror(Error) + ".");
}
