#pragma once

#include "core/exception.h"

// A disk image file cannot be read or written as asked; the message names the image and says
// what the user can do.
class EDiskImage : public Exception {
public:
    using Exception::Exception;
};
