#include "platform/file_descriptor.h"

#include <unistd.h>

void TFileDescriptor::Close() {
    if (FHandle >= 0) {
        ::close(FHandle);
        FHandle = -1;
    }
}
