#include "pgraphic/formats/jpeg/jpeg_settings.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<TJPEGDCTMethod> GReadDCTMethod{jdmIntegerSlow};
std::atomic<TJPEGDCTMethod> GWriteDCTMethod{jdmFloat};
std::atomic<int> GQuality{80};
std::atomic<bool> GProgressive{false};
std::atomic<std::size_t> GMaxMemory{std::size_t{256} << 20};

} // namespace

TJPEGDCTMethod JPEGReadDCTMethod() {
    return GReadDCTMethod.load();
}
void SetJPEGReadDCTMethod(TJPEGDCTMethod Value) {
    GReadDCTMethod.store(Value);
}
TJPEGDCTMethod JPEGWriteDCTMethod() {
    return GWriteDCTMethod.load();
}
void SetJPEGWriteDCTMethod(TJPEGDCTMethod Value) {
    GWriteDCTMethod.store(Value);
}
int JPEGQuality() {
    return GQuality.load();
}
void SetJPEGQuality(int Value) {
    GQuality.store(std::clamp(Value, 0, 100));
}
bool JPEGProgressive() {
    return GProgressive.load();
}
void SetJPEGProgressive(bool Value) {
    GProgressive.store(Value);
}
std::size_t JPEGMaxMemory() {
    return GMaxMemory.load();
}
void SetJPEGMaxMemory(std::size_t Value) {
    GMaxMemory.store(Value);
}
