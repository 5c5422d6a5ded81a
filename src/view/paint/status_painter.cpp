// The status layer: the "Saved as" panels, the six value panels at the bottom with
// their fades, the banner box while a file loads or saves, and the bar of slot texts.
#include <string>

#include "view/paint/frame_context.h"
#include "view/paint/renderer.h"
#include "view/status_texts.h"

namespace quillex {

namespace {

Colour panelColour(int alpha) {
    return {alpha, 38, 61, 191};
}

struct SavePanel {
    SaveNotice notice;
    const char* text;
    int x1, y1, x2, y2, textX, textY;
};
constexpr SavePanel kSavePanels[] = {
    {SaveNotice::SavedAsQx, "Saved as QX.", 10, 5, 112, 24, 13, 6},
    {SaveNotice::SavedAsSm, "Saved as SM.", 10, 24, 112, 43, 13, 25},
    {SaveNotice::SingleBpm, "(Single BPM).", 113, 24, 215, 43, 113, 25},
};

struct ValuePanel {
    StatusPanel panel;
    const char* label;
    int x, rowOffset, valueX;
};
constexpr ValuePanel kValuePanels[] = {
    {StatusPanel::Volume, "Volume:", 190, 30, 265}, {StatusPanel::Zoom, "Zoom   :", 340, 30, 410},
    {StatusPanel::Speed, "Speed :", 490, 30, 565},  {StatusPanel::Freq, "Freq:", 190, 60, 247},
    {StatusPanel::Bits, "Bits:", 340, 60, 410},     {StatusPanel::Chan, "Chan:", 490, 60, 550},
};
constexpr int kValuePanelWidth = 120;
constexpr int kValuePanelHeight = 30;
// How far a panel's text may run past the right of its box.
constexpr int kTextOverrun = 100;

void paintSavePanels(const StatusLayer& status, Renderer& renderer) {
    for (const SavePanel& p : kSavePanels) {
        const int fade = status.saveFade(p.notice);
        if (fade <= 0)
            continue;
        renderer.rectangle(p.x1, p.y1, p.x2, p.y2, panelColour(fade), true);
        renderer.text(p.text, p.textX, p.textY, fade, FontSize::Large);
    }
}

// The value a panel shows; only asked for while the panel's text is visible.
std::string panelValue(StatusPanel panel, const TransportState& t, const WaveView& wave) {
    switch (panel) {
    case StatusPanel::Volume:
        return std::to_string(t.volumePercent);
    case StatusPanel::Zoom:
        return std::to_string(14 - wave.zoomLevel);
    case StatusPanel::Speed:
        return std::to_string(t.speedPercent);
    case StatusPanel::Freq:
        return std::to_string(t.fileFrequency);
    case StatusPanel::Bits:
        return std::to_string(t.fileBits);
    case StatusPanel::Chan:
        return channelName(t.fileChannels);
    }
    return {};
}

void paintValuePanels(const FrameContext& frame, int h, Renderer& renderer) {
    const StatusLayer& status = frame.view.status();
    const WaveView& wave = frame.view.wave();
    for (const ValuePanel& p : kValuePanels) {
        const int panelFade = status.panelFade(p.panel);
        const int textFade = status.textFade(p.panel);
        const int top = h - p.rowOffset;
        if (panelFade > 0)
            renderer.rectangle(p.x, top, p.x + kValuePanelWidth, top + kValuePanelHeight,
                               panelColour(panelFade), true);
        if (textFade <= 0)
            continue;
        renderer.text(p.label, p.x + 5, top + 5, textFade, FontSize::Large);
        renderer.text(panelValue(p.panel, frame.transport, wave), p.valueX, top + 5, textFade,
                      FontSize::Large);
        if (p.panel == StatusPanel::Zoom)
            renderer.text(wave.manualNoteSize ? "[M]" : "[A]", 430, top + 5, textFade,
                          FontSize::Large);
    }
}

void paintBannerBox(const StatusLayer& status, int width, int height, Renderer& renderer) {
    if (status.bannerMode() != kBannerOpening && status.bannerMode() != kBannerSaving)
        return;
    const int cx = width / 2;
    const int cy = height / 2;
    const bool banner = renderer.hasSongBanner();
    renderer.rectangle(cx - 130, cy - 62, cx + 129, cy + 21,
                       banner ? Colour{255, 255, 255, 255} : Colour{255, 165, 217, 255}, true);
    const QRect target(cx - 128, cy - 60, 256, 80);
    if (banner)
        renderer.image(renderer.songBanner(), target, 255);
    else
        renderer.stretched(PictureId::Splash, QRect(0, 0, 256, 80), target, 255);
}

} // namespace

void paintStatusLayer(const FrameContext& frame, Renderer& renderer) {
    const StatusLayer& status = frame.view.status();
    const int h = frame.geometry.height - status.bottomMargin();
    paintSavePanels(status, renderer);
    paintValuePanels(frame, h, renderer);
    paintBannerBox(status, frame.geometry.width, frame.geometry.height, renderer);
    if (!frame.layerOn(Layer::Status))
        return;
    renderer.rectangle(50, h, 746, h + 30, panelColour(200), true);
    for (int i = 0; i < kStatusSlotCount; ++i)
        renderer.text(status.slot(i), StatusLayer::slotX(i), h + 6, 255, FontSize::Large);
}

QRegion statusPanelArea(const EditorView& view) {
    QRegion area;
    for (const SavePanel& p : kSavePanels)
        area += QRect(QPoint(p.x1, p.y1), QPoint(p.x2, p.y2)).adjusted(0, 0, kTextOverrun, 0);
    const int h = view.windowHeight() - view.status().bottomMargin();
    for (const ValuePanel& p : kValuePanels) {
        const int top = h - p.rowOffset;
        area += QRect(QPoint(p.x, top), QPoint(p.valueX + kTextOverrun, top + kValuePanelHeight));
    }
    return area;
}

} // namespace quillex
