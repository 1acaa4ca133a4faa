#include "pgraphic/formats/png/png_settings.h"

#include <atomic>

namespace {

std::atomic<bool> GUseFileBackground{true};
std::atomic<bool> GWriteGamma{true};
std::atomic<std::size_t> GMaxReadingBytes{std::size_t{64} << 20};

} // namespace

bool PNGUseFileBackground() {
    return GUseFileBackground.load();
}
void SetPNGUseFileBackground(bool Value) {
    GUseFileBackground.store(Value);
}
bool PNGWriteGamma() {
    return GWriteGamma.load();
}
void SetPNGWriteGamma(bool Value) {
    GWriteGamma.store(Value);
}
std::size_t PNGMaxReadingBytes() {
    return GMaxReadingBytes.load();
}
void SetPNGMaxReadingBytes(std::size_t Value) {
    GMaxReadingBytes.store(Value);
}
