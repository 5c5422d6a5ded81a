#include "app/window/idle_frames.h"

#include <QEvent>

namespace quillex {

void IdleFrames::noteEvent(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Expose:
    case QEvent::WindowStateChange:
    case QEvent::ActivationChange:
    case QEvent::WindowUnblocked:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::MetaCall: // a queued command or task
        wake();
        break;
    default:
        break;
    }
}

} // namespace quillex
