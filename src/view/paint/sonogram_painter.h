// The spectrogram layer's pictures: the pyramid's columns coloured a few hundred at a
// time into images one row per column, each as wide as the layer, with the bands
// blended across the width. A frame stretches the images in view down the screen, so
// it costs a few blits whatever the song's length; an image is made again only when it
// scrolls into view or the pyramid, the layer's width or the contrast changes.
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/tf_pyramid.h"
#include "view/sonogram_look.h"
#include "view/view_geometry.h"

class QPainter;

namespace quillex {

class SpectrogramImages {
  public:
    static constexpr int kColumnsPerImage = 256;

    // Draws `pyramid` from screen row `top` to `bottom` over `span` as `geometry`
    // places the music, the low frequencies on the left.
    void paint(const TfPyramid& pyramid, const ViewGeometry& geometry, SpectrogramSpan span,
               int top, int bottom, int rangeDb, QPainter& painter);

  private:
    struct Strip {
        int level;
        std::size_t index;
        QImage image;
    };
    const QImage& strip(int level, std::size_t index);
    QImage makeStrip(int level, std::size_t index) const;
    void forgetStripsIfChanged(const TfPyramid& pyramid, int width, int rangeDb);

    const TfPyramid* pyramid_ = nullptr;
    std::uint64_t serial_ = 0; // the pyramid the strips show
    int width_ = 0;
    int rangeDb_ = -1;
    SpectrogramPalette palette_{};
    std::vector<Strip> strips_, used_;
};

} // namespace quillex
