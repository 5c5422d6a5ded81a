// The program's one drawing object: it loads every picture of the picture table,
// keeps the two text fonts, and offers the few primitives the layers draw with
// (lines in three styles, rectangles, turned sprites cut from picture strips,
// textured quads, text, the background) plus the frame start and end with the
// frame-rate display. It paints with a QPainter on whatever surface the frame is
// drawn on: the editor widget, or an image in tests and benchmarks.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

#include <array>
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "model/edit_item.h"
#include "view/paint/picture_table.h"
#include "view/paint/sprite_cache.h"
#include "view/paint/text_cache.h"

namespace quillex {

class Messages;

enum class FontSize { Large, Small };

// An item colour as Qt's, its alpha clamped to 0..255.
QColor toQColor(Colour c);

// The message for a song background picture that could not be read, named as the
// Properties dialog names the field.
inline std::string songBackgroundFailedMessage(const std::string& path) {
    return "I could not load the background picture " + path +
           ".  Make sure the file name under Background in Properties is correct.";
}

class Renderer {
  public:
    Renderer();

    // Loads every picture of the table from `dataFolder` (which holds graphics/), in
    // the table's order, and sets up the fonts. Stops at the first picture that
    // cannot be read and returns false; errorText() then names the file.
    bool initialise(const QString& dataFolder);
    const QString& errorText() const { return error_; }
    bool initialised() const { return initialised_; }

    // Starts a frame on `painter` for a surface of width × height: marks the frame
    // clock and clears to opaque black. A caller that draws the background next may
    // skip the clear: the background is opaque and covers the whole surface.
    void beginFrame(QPainter& painter, int width, int height, bool clear = true);
    // Draws the frame-rate display (when on) and finishes the frame.
    void endFrame();
    int width() const { return width_; }
    int height() const { return height_; }

    // The whole window: the song's background at its opacity when one is loaded, else
    // the wallpaper with this alpha.
    void background(int alpha);
    // Every second frame: the song background brightens while the wave is hidden and
    // dims while it is shown.
    void backgroundOpacityStep(bool waveShown);
    // True once the song background's opacity has reached where those steps lead.
    bool backgroundSettled(bool waveShown) const;
    int backgroundOpacity() const { return backgroundOpacity_; }

    // A one-pixel line. Style 0 plain, 1 and 2 dotted (the dotted pictures repeating
    // every 8 pixels along the line).
    void line(int x1, int y1, int x2, int y2, Colour colour, int style = 0);
    // Outline as four plain lines, or a filled box; both corners included.
    void rectangle(int x1, int y1, int x2, int y2, Colour colour, bool filled);

    // A square of half-size `half` centred at (x, y), cut from `cell` of a picture,
    // turned, and drawn white with `alpha`.
    void sprite(PictureId picture, QRect cell, int x, int y, int half, Turn turn, int alpha);
    // A cell of a picture stretched over a target rectangle.
    void stretched(PictureId picture, QRect cell, QRect target, int alpha);
    // `target` filled with a cell of a picture repeated in both directions. The cell
    // is scaled to tileWidth × tileHeight; a tile boundary falls on (originX, originY).
    void tiled(PictureId picture, QRect cell, QRect target, int tileWidth, int tileHeight,
               int originX, int originY, int alpha);
    // Any image (a song banner) stretched over a target rectangle.
    void image(const QImage& image, QRect target, int alpha);

    // White text with its top-left corner at (x, y) (the text rectangle's corner).
    void text(std::string_view text, int x, int y, int alpha, FontSize font);
    // The width in pixels `text` takes.
    int textWidth(std::string_view text, FontSize font);

    // The frame-rate display ("Don't Show FPS" unchecked turns it on).
    void setFrameRateShown(bool on) { frameRateShown_ = on; }
    int shownFrameRate() const { return shownFrameRate_; }
    // For tests: the frame time of the next frame in seconds instead of the clock's.
    void setFrameDurationOverride(double seconds) { frameDurationOverride_ = seconds; }

    // The song's own background and banner, from the song's folder. An empty name
    // only drops the old picture. A background that cannot be read shows a message
    // naming the file once (when a path was given); a banner fails silently.
    bool setSongBackground(const QString& songFolder, const QString& fileName, Messages& messages);
    bool setSongBanner(const QString& songFolder, const QString& fileName);
    bool hasSongBackground() const { return !songBackground_.isNull(); }
    bool hasSongBanner() const { return !songBanner_.isNull(); }
    const QImage& songBanner() const { return songBanner_; }

    const QImage& picture(PictureId id) const { return pictures_[static_cast<int>(id)]; }
    QPainter& painter() { return *painter_; }

  private:
    void setOpacity(int alpha);
    struct DottedTile {
        int style;
        Colour colour;
        QImage tile; // the dotted picture in the line's colour
        QImage run;  // its first row repeated, at least as long as any line drawn
    };
    static constexpr int kMinDottedRun = 2048;

    void fillSpan(int x, int y, int length, bool horizontal, Colour colour, int style);
    DottedTile& dottedTile(int style, Colour colour);
    static const QImage& dottedRun(DottedTile& dotted, int length);
    const QImage& composedBackground(int alpha);

    std::array<QImage, kPictureCount> pictures_;
    std::array<QFont, 2> fonts_;
    SpriteCache sprites_;
    TextCache texts_;
    QString error_;
    bool initialised_ = false;

    QPainter* painter_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    double opacity_ = 1.0;

    QImage songBackground_;
    QImage songBanner_;
    int backgroundOpacity_ = 64;
    QImage background_;
    qint64 backgroundKey_ = -1;
    int backgroundAlpha_ = -1;
    const QImage* backgroundSource_ = nullptr;

    std::vector<DottedTile> dottedTiles_;

    bool frameRateShown_ = false; // "Don't Show FPS" is on until the options say otherwise
    std::chrono::steady_clock::time_point frameMark_{};
    double frameSeconds_ = 0;
    double frameDurationOverride_ = -1;
    std::vector<int> frameRates_;
    int frameCount_ = 0;
    int shownFrameRate_ = 0;
};

} // namespace quillex
