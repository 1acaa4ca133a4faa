// The BMP reader and writer outside the format lists. They hold no state between calls, so one
// of each serves every caller.

#include "pgraphic/formats/bmp/bmp.h"

TFileFormatReader& StandaloneBMPReader() {
    static TBMPFileFormatReader Reader;
    return Reader;
}

TFileFormatWriter& StandaloneBMPWriter() {
    static TBMPFileFormatWriter Writer;
    return Writer;
}
