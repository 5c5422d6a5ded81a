// Fades, slots and the texts the transport writes into the status layer.
#include "view/status_layer.h"

#include <algorithm>

#include "base/number_format.h"
#include "view/status_texts.h"

namespace quillex {

void StatusLayer::light(StatusPanel panel) {
    textFades_[index(panel)] = 255;
    panelFades_[index(panel)] = 200;
}

void StatusLayer::lightAll() {
    textFades_.fill(255);
    panelFades_.fill(200);
}

void StatusLayer::startSaveNotice(SaveNotice notice) {
    saveFades_[static_cast<int>(notice)] = 255;
}

void StatusLayer::fadeStep() {
    auto fade = [](int& v) { v = std::max(0, v - 2); };
    std::for_each(textFades_.begin(), textFades_.end(), fade);
    std::for_each(panelFades_.begin(), panelFades_.end(), fade);
    std::for_each(saveFades_.begin(), saveFades_.end(), fade);
}

bool StatusLayer::fading() const {
    auto lit = [](int v) { return v > 0; };
    return std::any_of(textFades_.begin(), textFades_.end(), lit) ||
           std::any_of(panelFades_.begin(), panelFades_.end(), lit) ||
           std::any_of(saveFades_.begin(), saveFades_.end(), lit);
}

void StatusLayer::setSlot(int index, std::string_view text) {
    if (index < 0 || index >= kStatusSlotCount)
        return;
    slots_[index].assign(text);
}

const std::string& StatusLayer::slot(int index) const {
    static const std::string none;
    return index >= 0 && index < kStatusSlotCount ? slots_[index] : none;
}

int StatusLayer::slotX(int index) {
    static constexpr std::array<int, kStatusSlotCount> kX{120, 220, 305, 430, 585, 60};
    return index >= 0 && index < kStatusSlotCount ? kX[index] : 0;
}

void StatusLayer::updateTransportSlots(const TransportState& transport, const TimingMap& timing) {
    const std::string_view snap = snapName(transport.snapIndex);
    if (!snap.empty())
        setSlot(2, snap);
    const char* beatMark = transport.beatTickOn ? "* " : "";
    const char* noteMark = transport.noteTickOn ? "* " : "";
    const auto sample = static_cast<SamplePosition>(transport.position);
    setSlot(3, beatMark + formatFixed3(timing.bpmAt(sample)) + " bpm");
    setSlot(4, noteMark + positionText(sample, transport.timeFormat, transport.sampleRate, timing));
}

void StatusLayer::setPracticeMode(bool on) {
    setSlot(5, on ? "" : "[AP]");
}

} // namespace quillex
