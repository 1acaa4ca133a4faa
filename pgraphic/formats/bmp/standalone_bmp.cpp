// The BMP writer outside the format lists. It holds no state between calls, so one serves every
// caller.

#include "pgraphic/formats/bmp/bmp.h"

TFileFormatWriter& StandaloneBMPWriter() {
    static TBMPFileFormatWriter Writer;
    return Writer;
}
