#include "common/MulDivRounded.h"

#include <cstdint>
#include <limits>

int MulDivRounded(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    const std::int64_t product = std::int64_t(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::uint64_t magnitude = product < 0 ? std::uint64_t(-product) : std::uint64_t(product);
    const std::int64_t wideDenominator = denominator;
    const std::uint64_t divisor = std::uint64_t(wideDenominator < 0 ? -wideDenominator : wideDenominator);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > std::uint64_t(std::numeric_limits<int>::max()))
        return -1;
    return negative ? -int(quotient) : int(quotient);
}
