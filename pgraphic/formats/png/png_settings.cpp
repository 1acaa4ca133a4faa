#include "pgraphic/formats/png/png_settings.h"

#include <atomic>

namespace {

std::atomic<bool> GUseFileBackground{true};
std::atomic<bool> GWriteGamma{true};

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
