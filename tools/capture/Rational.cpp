#include "tools/capture/Rational.h"

#include <charconv>
#include <numeric>

namespace {

constexpr std::int64_t kMaxPart = 1'000'000'000'000;
constexpr int kMaxDecimals = 6;

// Cross products of two parts of up to 10^12 need more than 64 bits.
__extension__ using Wide = __int128;

std::optional<std::int64_t> parseDigits(std::string_view text) {
    if (text.empty() || text.size() > 13 ||
        text.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value > kMaxPart) {
        return std::nullopt;
    }
    return value;
}

std::int64_t floorDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return static_cast<std::int64_t>((a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q);
}

}  // namespace

bool operator==(const Rational& a, const Rational& b) {
    return Wide{a.num} * b.den == Wide{b.num} * a.den;
}

bool operator<(const Rational& a, const Rational& b) {
    return Wide{a.num} * b.den < Wide{b.num} * a.den;
}

Rational Rational::reduced(std::int64_t num, std::int64_t den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const std::int64_t divisor = std::gcd(num, den);
    return divisor > 1 ? Rational{num / divisor, den / divisor} : Rational{num, den};
}

std::int64_t Rational::floorTimes(std::int64_t scale) const {
    return floorDiv(Wide{num} * scale, den);
}

std::int64_t Rational::ceilTimes(std::int64_t scale) const {
    return -floorDiv(-Wide{num} * scale, den);
}

std::string Rational::toDecimal(int minDecimals) const {
    const std::int64_t micro = floorTimes(1'000'000);
    std::string fraction = std::to_string(1'000'000 + micro % 1'000'000).substr(1);
    while (static_cast<int>(fraction.size()) > minDecimals && fraction.back() == '0') {
        fraction.pop_back();
    }
    const std::string whole = std::to_string(micro / 1'000'000);
    return fraction.empty() ? whole : whole + "." + fraction;
}

std::optional<Rational> parseRational(std::string_view text) {
    if (const auto slash = text.find('/'); slash != std::string_view::npos) {
        const auto num = parseDigits(text.substr(0, slash));
        const auto den = parseDigits(text.substr(slash + 1));
        if (!num || !den || *den == 0) {
            return std::nullopt;
        }
        return Rational::reduced(*num, *den);
    }
    const auto dot = text.find('.');
    if (dot == std::string_view::npos) {
        const auto whole = parseDigits(text);
        return whole ? std::optional<Rational>(Rational{*whole, 1}) : std::nullopt;
    }
    const std::string_view decimals = text.substr(dot + 1);
    if (decimals.empty() || decimals.size() > kMaxDecimals) {
        return std::nullopt;
    }
    std::string digits(text.substr(0, dot));
    digits += decimals;
    const auto scaled = parseDigits(digits);
    if (!scaled || dot == 0) {
        return std::nullopt;
    }
    std::int64_t den = 1;
    for (std::size_t i = 0; i < decimals.size(); ++i) {
        den *= 10;
    }
    return Rational::reduced(*scaled, den);
}
