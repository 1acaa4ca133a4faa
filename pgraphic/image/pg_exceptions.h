#pragma once

#include "core/exception.h"
#include "pgraphic/image/lang_strings.h"

// Failures of the image library: one class per kind of failure, all descending from
// EPixelGraphic, each carrying a text of the message table.

class EPixelGraphic : public Exception {
public:
    using Exception::Exception;
    EPixelGraphic(TPGLangStrId Id, TPGLangArg S1 = std::nullopt, TPGLangArg S2 = std::nullopt,
                  TPGLangArg S3 = std::nullopt)
        : Exception(PGLangStr(Id, S1, S2, S3)) {}
};

// Declares an exception class of the library that takes the same constructors as EPixelGraphic.
#define VESPERA_PG_EXCEPTION(Name, Base)                                                           \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

VESPERA_PG_EXCEPTION(EPGInvalidSize, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGInvalidBitCountNum, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGNoPalette, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGInvalidPaletteIndex, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGXYIndexOutOfRange, EPixelGraphic);
// An operation needs an image where there is none.
VESPERA_PG_EXCEPTION(EPGEmpty, EPixelGraphic);

// File formats and the registry.
VESPERA_PG_EXCEPTION(EPGUnknownFileFormat, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGUnknownExtension, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGFileFormatWritersEmpty, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGCanWriteResolutionsEmpty, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGCannotWriteColorRes, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGUnknownClipboardFormat, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGBMPFileFormatReader, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGPCXFileFormatReader, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGPxMFileFormatReader, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGPxMFileFormatWriter, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGTGAFileFormatReader, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGTGAFileFormatWriter, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGTIFFileFormatReader, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGTIFFileFormatWriter, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGJPGFileFormatReaderWriter, EPixelGraphic);
VESPERA_PG_EXCEPTION(EPGPNGFileFormatReaderWriter, EPixelGraphic);
