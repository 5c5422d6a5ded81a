// The status layer's state: the fading value and save panels, the six text slots and
// the banner box mode. Its painting lives with the other layers; this part decides
// what is shown and how brightly.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "items/timing_map.h"
#include "ports/shell_hooks.h"
#include "view/transport_state.h"

namespace quillex {

// The six panels at the bottom, each with a label, a value and two fades.
enum class StatusPanel { Volume, Zoom, Speed, Freq, Bits, Chan };
inline constexpr int kStatusPanelCount = 6;
inline constexpr int kStatusSlotCount = 6;
inline constexpr int kSaveNoticeCount = 3;

// Banner box: 0 while opening, 1 while saving, 2 hidden.
inline constexpr int kBannerOpening = 0;
inline constexpr int kBannerSaving = 1;
inline constexpr int kBannerHidden = 2;

inline constexpr int kDefaultStatusBottomMargin = 84;

class StatusLayer {
  public:
    // A change of the panel's value: its text shows fully, its box at 200.
    void light(StatusPanel panel);
    // Escape: every bottom panel lights up.
    void lightAll();
    void startSaveNotice(SaveNotice notice);
    // Another file is being opened: a "Saved as" notice was about the song before.
    void clearSaveNotices() { saveFades_.fill(0); }
    // Every second frame: all fades go down by 2, not below 0.
    void fadeStep();
    // True while any fade has not reached 0.
    bool fading() const;

    int textFade(StatusPanel panel) const { return textFades_[index(panel)]; }
    int panelFade(StatusPanel panel) const { return panelFades_[index(panel)]; }
    int saveFade(SaveNotice notice) const { return saveFades_[static_cast<int>(notice)]; }

    // Slots 0..5; an index outside them is ignored.
    void setSlot(int index, std::string_view text);
    const std::string& slot(int index) const;
    static int slotX(int index);

    // Every second frame: slot 2 the snap name (kept for an unknown index), slot 3 the
    // tempo at the play position, slot 4 the play position, each with "* " in front
    // while its assist tick is on.
    void updateTransportSlots(const TransportState& transport, const TimingMap& timing);
    // Slot 5 shows "[AP]" while practice mode is off (the notes play themselves).
    void setPracticeMode(bool on);

    int bannerMode() const { return bannerMode_; }
    void setBannerMode(int mode) { bannerMode_ = mode; }
    int bottomMargin() const { return bottomMargin_; }
    void setBottomMargin(int margin) { bottomMargin_ = margin; }

  private:
    static int index(StatusPanel panel) { return static_cast<int>(panel); }

    std::array<int, kStatusPanelCount> textFades_{};
    std::array<int, kStatusPanelCount> panelFades_{};
    std::array<int, kSaveNoticeCount> saveFades_{};
    std::array<std::string, kStatusSlotCount> slots_{"", "", "", "", "", "[AP]"};
    int bannerMode_ = kBannerHidden;
    int bottomMargin_ = kDefaultStatusBottomMargin;
};

} // namespace quillex
