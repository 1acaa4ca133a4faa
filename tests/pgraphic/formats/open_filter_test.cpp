#include "pgraphic/formats/registry.h"

#include <gtest/gtest.h>

// With every reader of the library registered, the open dialog's filter is fixed to the character.
TEST(OpenFilter, ListsAllFourteenReadersInExtensionOrder) {
    EXPECT_EQ(FileFormatReaders().Count(), 14u);
    EXPECT_EQ(BuildOpenFilter(),
              "Image files|*.bmp; *.dib; *.jif; *.jpeg; *.jpg; *.pbm; *.pcx; *.pgm; *.png; *.ppm; "
              "*.rle; *.tga; *.tif; *.tiff|BMP - Bitmap|*.bmp|DIB - Bitmap|*.dib|JIF - JPEG (JFIF "
              "compliant)|*.jif|JPEG - JPEG (JFIF compliant)|*.jpeg|JPG - JPEG (JFIF "
              "compliant)|*.jpg|PBM - Portable Bitmap|*.pbm|PCX - Paintbrush|*.pcx|PGM - Portable "
              "Graymap|*.pgm|PNG - Portable Network Graphics|*.png|PPM - Portable "
              "Pixelmap|*.ppm|RLE - Bitmap|*.rle|TGA - Truevision Targa|*.tga|TIF - Tagged Image "
              "File Format|*.tif|TIFF - Tagged Image File Format|*.tiff|All files|*.*");
}
