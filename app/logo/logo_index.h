#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The two logos: the first (the question, logow.sys, page "First Logo") and the last (the
// answer, logos.sys, page "Second Logo").
enum class TLogo : std::uint8_t { First, Last };

inline constexpr std::array<TLogo, 2> kLogos{TLogo::First, TLogo::Last};

constexpr TLogo OtherLogo(TLogo Logo) {
    return Logo == TLogo::First ? TLogo::Last : TLogo::First;
}

// One T for each logo, indexed by the logo. A value outside the two logos raises
// std::out_of_range instead of reaching past the pair.
template <typename T>
struct TPerLogo {
    std::array<T, 2> Items;

    constexpr T& operator[](TLogo Logo) { return Items.at(static_cast<std::size_t>(Logo)); }
    constexpr const T& operator[](TLogo Logo) const {
        return Items.at(static_cast<std::size_t>(Logo));
    }
};
