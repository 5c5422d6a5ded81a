#include "app/arrow_navigation.h"

namespace quillex {

void ArrowNavigation::navigate() {
    for (const ArrowBinding& arrow : arrows_) {
        if (!down_.isDown(arrow.key)) {
            states_.set(arrow.key, KeyStateTable::kUp);
            continue;
        }
        switch (states_.get(arrow.key)) {
        case KeyStateTable::kUp:
            post_(arrow.command);
            repeatCountdown_ = kRepeatTicks;
            states_.set(arrow.key, KeyStateTable::kPressed);
            break;
        case KeyStateTable::kPressed:
            states_.set(arrow.key, KeyStateTable::kHeld);
            break;
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
