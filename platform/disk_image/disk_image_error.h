#pragma once

#include "core/exception.h"

#include <string>
#include <string_view>

// A disk image file cannot be read or written as asked; the message names the image and says
// what the user can do.
class EDiskImage : public Exception {
public:
    using Exception::Exception;
};

// The failure of a call of the system on the disk image FileName, with the error Error it gave:
// "The disk image "FileName" <Problem>: <the system's reason>."
EDiskImage ImageSystemFailure(const std::string& FileName, std::string_view Problem, int Error);
