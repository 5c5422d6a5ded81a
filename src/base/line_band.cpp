#include "base/line_band.h"

#include <algorithm>
#include <limits>

namespace quillex {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

// A line passes within h of points i and j exactly when its slope lies between
// (s_j - s_i - 2h) / (r_j - r_i) and (s_j - s_i + 2h) / (r_j - r_i); and lines of one
// slope pass near every point when they pass near every two of them (the intercepts
// each point allows are intervals). So the band's slopes are the tightest of those
// bounds over all pairs. For a new point j the tightest lower bound is the steepest
// line from an earlier point to j lowered by 2h, which starts on the lower convex hull
// of the earlier points; the upper bound likewise on the upper hull. Both hulls grow
// at their right end as rows rise, and the tangents are found by bisection.

namespace {

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

} // namespace

LineBand::Point LineBand::relative(double row, double sample) const {
    if (points_.empty())
        return {0, 0};
    return {row - origin_.row, sample - origin_.sample};
}

void LineBand::clear() {
    points_.clear();
    lower_.clear();
    upper_.clear();
    lowSlope_ = -kInfinity;
    highSlope_ = kInfinity;
}

void LineBand::pushHull(std::vector<Point>& hull, Point p, bool lower) {
    while (hull.size() >= 2) {
        const Point& o = hull[hull.size() - 2];
        const Point& a = hull.back();
        const double c =
            cross(a.row - o.row, a.sample - o.sample, p.row - o.row, p.sample - o.sample);
        if (lower ? c > 0 : c < 0)
            break;
        hull.pop_back();
    }
    hull.push_back(p);
}

bool LineBand::add(double row, double sample) {
    if (points_.empty()) {
        clear();
        origin_ = {row, sample};
        points_.push_back({0, 0});
        lower_.push_back({0, 0});
        upper_.push_back({0, 0});
        return true;
    }
    const Point p = relative(row, sample);
    if (!(p.row > points_.back().row))
        return false;
    // The hull vertex from which the line to q is steepest (lower hull) or flattest
    // (upper hull): walking along the hull towards q turns that line while the next
    // vertex lies below it (above it on the upper hull).
    const auto tangent = [](const std::vector<Point>& hull, Point q, bool lower) {
        std::size_t lo = 0, hi = hull.size() - 1;
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            const Point& v = hull[mid];
            const Point& next = hull[mid + 1];
            const double c =
                cross(q.row - v.row, q.sample - v.sample, next.row - v.row, next.sample - v.sample);
            if (lower ? c < 0 : c > 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        return hull[lo];
    };
    const auto slope = [](Point a, Point b) { return (b.sample - a.sample) / (b.row - a.row); };
    const Point below{p.row, p.sample - 2 * halfWidth_};
    const Point above{p.row, p.sample + 2 * halfWidth_};
    const double lo = std::max(lowSlope_, slope(tangent(lower_, below, true), below));
    const double hi = std::min(highSlope_, slope(tangent(upper_, above, false), above));
    if (lo > hi)
        return false;
    lowSlope_ = lo;
    highSlope_ = hi;
    points_.push_back(p);
    pushHull(lower_, p, true);
    pushHull(upper_, p, false);
    return true;
}

std::pair<double, double> LineBand::valuesAt(double row, double slope) const {
    const double r = row - origin_.row;
    double first = -kInfinity, second = kInfinity;
    for (const Point& p : points_) {
        const double at = p.sample + slope * (r - p.row);
        first = std::max(first, at - halfWidth_);
        second = std::min(second, at + halfWidth_);
    }
    return {first + origin_.sample, second + origin_.sample};
}

} // namespace quillex
