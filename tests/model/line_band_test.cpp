// The band of lines near a run of points, checked against every pair of points: a slope
// keeps a line near every point exactly when it keeps one near every two of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "base/line_band.h"

namespace quillex {
namespace {

TEST(LineBandTest, SlopesAreThoseOfEveryPairAndTheRunEndsWhereNoLineIsLeft) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        // Whole samples near a line of a random slope, some of them pushed further off.
        const double slope = std::uniform_real_distribution<double>(50, 2000)(random);
        const double start = std::uniform_real_distribution<double>(0, 1e6)(random);
        std::vector<std::pair<double, double>> points;
        double row = 0;
        for (int i = 0; i < 60; ++i) {
            row += std::uniform_int_distribution<int>(1, 96)(random);
            const double push = i > 0 && random() % 50 == 0 ? 2.0 : 0.0;
            points.push_back({row, std::floor(start + slope * row + push)});
        }
        LineBand band(0.5);
        double lo = -std::numeric_limits<double>::infinity();
        double hi = std::numeric_limits<double>::infinity();
        for (std::size_t j = 0; j < points.size(); ++j) {
            double pairLo = lo, pairHi = hi;
            for (std::size_t i = 0; i < j; ++i) {
                const double rows = points[j].first - points[i].first;
                const double samples = points[j].second - points[i].second;
                pairLo = std::max(pairLo, (samples - 1) / rows);
                pairHi = std::min(pairHi, (samples + 1) / rows);
            }
            const bool fits = pairLo <= pairHi;
            ASSERT_EQ(band.add(points[j].first, points[j].second), fits) << trial << " " << j;
            if (!fits)
                break;
            lo = pairLo;
            hi = pairHi;
            if (j == 0)
                continue;
            EXPECT_NEAR(band.lowSlope(), lo, 1e-9 * slope);
            EXPECT_NEAR(band.highSlope(), hi, 1e-9 * slope);
            // A line of the middle slope through the middle of its values at the first
            // row passes within half a sample of every point.
            const double middle = lo / 2 + hi / 2;
            const auto [first, second] = band.valuesAt(points[0].first, middle);
            ASSERT_LE(first, second);
            const double at = first / 2 + second / 2;
            for (std::size_t i = 0; i <= j; ++i)
                EXPECT_LE(
                    std::abs(at + middle * (points[i].first - points[0].first) - points[i].second),
                    0.5 + 1e-6);
        }
    }
}

} // namespace
} // namespace quillex
