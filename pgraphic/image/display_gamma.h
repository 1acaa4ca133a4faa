#pragma once

// The gamma of a display, the gamma an image's pixel data starts with and the one loading
// corrects images to unless changed.
constexpr long double kDefaultDisplayGamma = 1.8L;
