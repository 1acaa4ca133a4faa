#include "core/exception.h"

EOutOfMemory::EOutOfMemory() : Exception("Out of memory") {}
