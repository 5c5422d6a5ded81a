#include "app/input/arrow_navigation.h"

namespace quillex {

void ArrowNavigation::navigate() {
    for (const ArrowBinding& arrow : arrows_) {
        const KeyPressReader::Presses presses = presses_.take(arrow.key);
        for (std::uint32_t i = 0; i < presses.count; ++i)
            post_(arrow.command);
        if (!presses.empty()) {
            repeatCountdown_ = kRepeatTicks;
            states_.press(arrow.key);
            continue;
        }
        if (!down_.isDown(arrow.key)) {
            states_.release(arrow.key);
            continue;
        }
        switch (states_.hold(arrow.key)) {
        case KeyStateTable::kUp:
            break; // down since before the arrows navigated: no press
        case KeyStateTable::kPressed:
            break; // held from the next tick on
        default:
            if (--repeatCountdown_ < 0) {
                post_(arrow.command);
                repeatCountdown_ = kRepeatTicks;
            }
            break;
        }
    }
}

} // namespace quillex
