#include "tools/pgconv/usage.h"

const char* UsageText() {
    return R"(Usage:
  pgconv info FILE...
      Describes each picture file: format, subformat, size, colours, images.
  pgconv convert IN OUT [--size WxH] [--stretch fast|medium|precise]
                        [--colors N] [--system-colors] [--no-dither]
      Reads IN and writes OUT in the format of OUT's extension, converting the colours
      when that format cannot store them (a warning says so).
      --size WxH        resample to W x H pixels in true colour first
      --stretch MODE    resampling for --size (default: precise)
      --colors N        reduce to an optimised palette of N colours (1-256), in the
                        smallest pixel format that holds them, dithered
      --system-colors   with --colors: keep the 16 system colours in the palette
      --no-dither       with --colors: map each pixel to its nearest colour
  pgconv logo IN OUT
      Makes a shutdown logo from the picture IN as Vespera installs one: scaled to
      640 x 400, halved to 320 x 400, 256 colours with the 16 system colours,
      dithered, written to OUT as a BMP file whatever its name (logow.sys works).
  pgconv logo --startup [--band-height N] [--band-top]
                        [--band-colors RRGGBB,RRGGBB | --rainbow]
                        [--first-animated F] IN OUT
  pgconv logo --startup --no-band IN OUT
      Makes a start-up logo (logo.sys) the same way: palette entry 0 black for the
      screen's border, the picture in entries 1 to F-1, and a band whose entries
      F to 255 the system rotates while it starts, so its colours move sideways.
      --band-height N       the band's rows of the 400 (1-399, default 20)
      --band-top            the band at the top instead of the bottom
      --band-colors A,B     a gradient from A to B and back (hexadecimal RGB)
      --rainbow             all hues once round, as the system's own logo (default)
      --first-animated F    the first animated entry (18-254, default 236: 20
                            entries)
      --no-band             no band and no animation: the picture in entries 1-255
  pgconv formats
      Lists the readers and writers and the open-dialog filter.
  pgconv --help
      Shows this text.

Exit status: 0 done, 1 a file could not be read or written, 2 a wrong command line.
)";
}
