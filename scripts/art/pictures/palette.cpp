// The table of quantisation-class colours (see palette.h).
#include "palette.h"

#include <array>

namespace art {

const QuantClass& quantClass(int index) {
    static const std::array<QuantClass, quantClassCount> classes = {{
        {"04th", "4", QColor(232, 36, 40)},
        {"08th", "8", QColor(36, 96, 240)},
        {"12th", "12", QColor(165, 60, 225)},
        {"16th", "16", QColor(245, 215, 25)},
        {"24th", "24", QColor(240, 60, 175)},
        {"32nd", "32", QColor(250, 140, 20)},
        {"48th", "48", QColor(60, 205, 240)},
        {"64th", "64", QColor(50, 190, 70)},
        {"192nd", "192", QColor(150, 155, 115)},
    }};
    return classes.at(static_cast<size_t>(index));
}

} // namespace art
