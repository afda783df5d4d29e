#pragma once
// number * numerator / denominator with a 64-bit intermediate, rounded half away from zero, as the
// system's MulDiv does: -1 when the denominator is 0 or the result does not fit in 32 bits.
int MulDivRounded(int number, int numerator, int denominator);
