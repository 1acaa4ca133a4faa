// Every file format of the library, registered in this order.

#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/registry.h"

void RegisterBuiltinFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    RegisterBMPFormats(Readers, Writers);
}
