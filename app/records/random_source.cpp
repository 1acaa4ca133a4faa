#include "app/records/random_source.h"

void TRandomSource::Randomize() {
    FState = MillisecondsSinceMidnight(GetSystemTime());
}

std::uint32_t TRandomSource::RandomInt(std::uint32_t Range) {
    FState = FState * 134775813u + 1u;
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(FState) * Range) >> 32);
}

std::uint32_t MillisecondsSinceMidnight(const TSystemTime& Time) {
    return static_cast<std::uint32_t>(Time.Hour * 3600000 + Time.Minute * 60000 +
                                      Time.Second * 1000 + Time.Milliseconds);
}
