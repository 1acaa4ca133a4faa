// Every file format of the library, registered in this order.

#include "pgraphic/formats/bmp/bmp.h"
#include "pgraphic/formats/jpeg/jpeg.h"
#include "pgraphic/formats/pcx/pcx.h"
#include "pgraphic/formats/png/png.h"
#include "pgraphic/formats/pnm/pnm.h"
#include "pgraphic/formats/registry.h"
#include "pgraphic/formats/tga/tga.h"
#include "pgraphic/formats/tiff/tiff.h"

void RegisterBuiltinFormats(TFileFormatReaders& Readers, TFileFormatWriters& Writers) {
    RegisterBMPFormats(Readers, Writers);
    RegisterJPEGFormats(Readers, Writers);
    RegisterPNGFormats(Readers, Writers);
    RegisterPCXFormats(Readers, Writers);
    RegisterPNMFormats(Readers, Writers);
    RegisterTGAFormats(Readers, Writers);
    RegisterTIFFFormats(Readers, Writers);
}
