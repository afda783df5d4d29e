#include "common/MulDivRounded.h"

#include <gtest/gtest.h>

#include <climits>

TEST(MulDivRounded, RoundsHalfAwayFromZeroWithAWideIntermediate)
{
    const struct {
        int number, numerator, denominator, result;
    } cases[] = {
        {120, 100, 200, 60},        {120, 100, 7, 1714},       {1, 1, 2, 1},       {-1, 1, 2, -1},
        {3, 1, 2, 2},               {-3, 1, 2, -2},            {5, 1, -2, -3},     {-5, -1, 2, 3},
        {1, 1, 3, 0},               {2, 1, 3, 1},              {17, 227, 454, 9},  {0, 5, 0, -1},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {INT_MAX, 2, 1, -1}, {65536, 65536, 65536, 65536},
        // the window's scaling to its font and screen
        {348, 16, 13, 428},         {173, 16, 13, 213},        {-13, 120, 96, -16}, {-13, 144, 96, -20},
        {13, 144, 96, 20},          {5, 1, 4, 1},              {7, 1, 4, 2},        {-7, 1, 4, -2},
        {0, 16, 13, 0},             {100000, 30000, 13, 230769231},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MulDivRounded(c.number, c.numerator, c.denominator), c.result)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}
