// An exact fraction for frame rates and times: "60", "60000/1001", "29.97", "53.8". Capture
// computes every frame's time from its index with these, so nothing drifts over a long run.
//
// Values stay small enough for 64-bit products: the parser accepts at most 6 decimals and
// numerators and denominators up to 10^12; callers bound the magnitude (see CaptureOptions).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct Rational {
    std::int64_t num = 0;
    std::int64_t den = 1;

    // Lowest terms, positive denominator. The denominator must not be 0.
    static Rational reduced(std::int64_t num, std::int64_t den);

    double toDouble() const { return static_cast<double>(num) / static_cast<double>(den); }
    // Largest integer not above the value times `scale` (scale >= 0); the product may exceed 64
    // bits on the way, the result must not.
    std::int64_t floorTimes(std::int64_t scale) const;
    // Smallest integer not below the value times `scale` (scale >= 0).
    std::int64_t ceilTimes(std::int64_t scale) const;
    // The value as a decimal with at least `minDecimals` and at most 6 decimals (rounded down).
    std::string toDecimal(int minDecimals) const;

    friend bool operator==(const Rational& a, const Rational& b);
    friend bool operator<(const Rational& a, const Rational& b);
};

// "A", "A/B" or a decimal "A.DDD" (digits only, no sign, no exponent); empty on anything else,
// on a zero denominator and on values too large for exact arithmetic.
std::optional<Rational> parseRational(std::string_view text);
