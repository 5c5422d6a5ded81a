// Frames of the editor drawn offscreen with the placeholder pictures, for tests that
// probe their pixels: over an empty store, or over 40 beats at 120 BPM.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "placeholder_pictures.h"
#include "support/store_fixture.h"
#include "view/editor_view.h"
#include "view/paint/frame_painter.h"
#include "view/paint/renderer.h"

namespace quillex {

inline const QColor kWallpaper = test::placeholderColour(PictureId::Wallpaper);

// The renderer, the view and an 800 × 600 frame over an empty store with music loaded.
struct FrameFixture : ::testing::Test, test::StoreFixture {
    QTemporaryDir folder;
    Renderer renderer;
    NullShellHooks hooks;
    EditorView view{store, editor.waveView(), hooks};
    FramePainter painter;
    TransportState transport;
    QImage frame{800, 600, QImage::Format_ARGB32_Premultiplied};

    FrameFixture() {
        EXPECT_TRUE(test::writePlaceholderPictures(folder.path()));
        EXPECT_TRUE(renderer.initialise(folder.path()));
        renderer.setFrameRateShown(false);
        view.setWindowSize(800, 600);
        transport.loaded = true;
    }
    void draw(FrameSources sources = {}) {
        QPainter p(&frame);
        painter.drawFrame(p, renderer, view, transport, sources);
    }
    QColor at(int x, int y) const { return frame.pixelColor(x, y); }
    int rowOf(double sample) const { return view.geometry(transport.position).rowOfSample(sample); }
};

struct RenderFixture : FrameFixture {
    RenderFixture() {
        view.positionBar().setEnabled(false);
        transport.position = 66150; // beat 2 on the cursor row (row 100)
        // 120 BPM from one second in; beat 3 locked and white, the others blue.
        for (int i = 0; i < 40; ++i)
            addBeat(44100 + i * 22050, i == 2, i == 2);
        store.refresh();
    }
};

} // namespace quillex
