#include "pgraphic/formats/tiff/tiff_settings.h"

#include <atomic>

namespace {

// A rational packed into one word, so that readers on other threads never see half of it.
std::uint64_t Pack(TTIFFRational Value) {
    return (std::uint64_t{Value.Numerator} << 32) | Value.Denominator;
}
TTIFFRational Unpack(std::uint64_t Value) {
    return {static_cast<std::uint32_t>(Value >> 32), static_cast<std::uint32_t>(Value)};
}

std::atomic<bool> GMultiImage{false};
std::atomic<int> GMaxImages{1000};
std::atomic<std::uint32_t> GCompression{1};
std::atomic<bool> GWriteCMYK{false};
std::atomic<bool> GWhiteIsZero{false};
std::atomic<bool> GBigEndian{false};
std::atomic<TTIFFResolutionUnit> GResolutionUnit{truInch};
std::atomic<std::uint64_t> GXResolution{Pack({})};
std::atomic<std::uint64_t> GYResolution{Pack({})};

} // namespace

bool TIFFMultiImage() {
    return GMultiImage;
}
void SetTIFFMultiImage(bool Value) {
    GMultiImage = Value;
}
int TIFFMaxImages() {
    return GMaxImages;
}
void SetTIFFMaxImages(int Value) {
    GMaxImages = Value;
}
std::uint32_t TIFFCompression() {
    return GCompression;
}
void SetTIFFCompression(std::uint32_t Value) {
    GCompression = Value;
}
bool TIFFWriteCMYK() {
    return GWriteCMYK;
}
void SetTIFFWriteCMYK(bool Value) {
    GWriteCMYK = Value;
}
bool TIFFWhiteIsZero() {
    return GWhiteIsZero;
}
void SetTIFFWhiteIsZero(bool Value) {
    GWhiteIsZero = Value;
}
bool TIFFBigEndian() {
    return GBigEndian;
}
void SetTIFFBigEndian(bool Value) {
    GBigEndian = Value;
}
TTIFFResolutionUnit TIFFResolutionUnit() {
    return GResolutionUnit;
}
void SetTIFFResolutionUnit(TTIFFResolutionUnit Value) {
    GResolutionUnit = Value;
}
TTIFFRational TIFFXResolution() {
    return Unpack(GXResolution);
}
void SetTIFFXResolution(TTIFFRational Value) {
    GXResolution = Pack(Value);
}
TTIFFRational TIFFYResolution() {
    return Unpack(GYResolution);
}
void SetTIFFYResolution(TTIFFRational Value) {
    GYResolution = Pack(Value);
}
