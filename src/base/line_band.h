// The straight lines that pass near a set of points: a run of beat markers is one tempo
// when some line sample = intercept + slope × row passes within half a sample of each
// of its markers. Markers sit on whole samples, so the line of a steady tempo rarely
// meets them; the band says which lines (slopes, and intercepts for a slope) still do.
#pragma once

#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

namespace quillex {

class LineBand {
  public:
    // Lines must pass within `halfWidth` of every point.
    explicit LineBand(double halfWidth) : halfWidth_(halfWidth) {}

    void clear();
    // Takes the point in when some line passes near it and every point before it, and
    // returns whether it did (the band is unchanged otherwise). Rows must rise.
    bool add(double row, double sample);
    std::size_t size() const { return points_.size(); }

    // The slopes of the lines, in samples per row: [lowSlope, highSlope]. Unbounded
    // (±infinity) with fewer than two points.
    double lowSlope() const { return lowSlope_; }
    double highSlope() const { return highSlope_; }
    // Where the lines of `slope` cross `row`: [first, second], empty (first > second)
    // when no line of that slope passes near every point.
    std::pair<double, double> valuesAt(double row, double slope) const;

  private:
    struct Point {
        double row;
        double sample;
    };
    // Points relative to the first one, so that sums of rows and samples stay exact.
    Point relative(double row, double sample) const;
    static void pushHull(std::vector<Point>& hull, Point p, bool lower);

    double halfWidth_;
    Point origin_{0, 0};        // the first point
    std::vector<Point> points_; // relative
    std::vector<Point> lower_;  // lower and upper convex hulls of points_
    std::vector<Point> upper_;
    double lowSlope_ = -std::numeric_limits<double>::infinity();
    double highSlope_ = std::numeric_limits<double>::infinity();
};

} // namespace quillex
