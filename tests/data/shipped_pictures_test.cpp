// The shipped pictures against the picture table: every file is there at the size the
// renderer loads it at, keyed pictures are opaque and use their key only where they
// mean to be transparent, and no frame a note can be drawn from is empty.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>

#include <string>

#include "view/paint/picture_table.h"

namespace quillex {
namespace {

const QString kDataDir = QStringLiteral(QUILLEX_SOURCE_DIR "/data/");

QImage load(const PictureEntry& entry) {
    return QImage(kDataDir +
                  QString::fromUtf8(entry.path.data(), static_cast<int>(entry.path.size())));
}

int pixelsOfColour(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
    return count;
}

bool hasVisiblePixel(const QImage& image, const QRect& cell) {
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            if (qAlpha(image.pixel(x, y)) > 64)
                return true;
    return false;
}

TEST(ShippedPictures, EveryPictureOfTheTableIsThereAtItsSize) {
    for (const PictureEntry& entry : pictureTable()) {
        SCOPED_TRACE(std::string(entry.path));
        const QImage image = load(entry);
        ASSERT_FALSE(image.isNull());
        if (entry.width > 0) {
            EXPECT_EQ(image.width(), entry.width);
            EXPECT_EQ(image.height(), entry.height);
        }
        if (entry.key == ColourKey::None) {
            EXPECT_TRUE(hasVisiblePixel(image, image.rect()));
        }
    }
}

TEST(ShippedPictures, KeyedPicturesAreOpaqueAndKeyOnlyTheirGaps) {
    for (const PictureEntry& entry : pictureTable()) {
        if (entry.key == ColourKey::None)
            continue;
        SCOPED_TRACE(std::string(entry.path));
        const QImage image = load(entry);
        EXPECT_FALSE(image.hasAlphaChannel());
        const QRgb key = entry.key == ColourKey::OpaqueBlack ? qRgb(0, 0, 0) : qRgb(255, 0, 255);
        const int keyed = pixelsOfColour(image, key);
        if (entry.path.ends_with("wallpaper.png")) {
            EXPECT_EQ(keyed, 0); // a key pixel would punch a hole in the background
        } else {
            EXPECT_GT(keyed, 0);
            EXPECT_LT(keyed, image.width() * image.height());
        }
    }
}

TEST(ShippedPictures, EveryNoteAndReceptorFrameHasAPicture) {
    for (const PictureEntry& entry : pictureTable()) {
        const bool noteStrip = entry.path.ends_with("note.png") ||
                               entry.path.ends_with("hudarrow.png") ||
                               entry.path.ends_with("hudcenter.png") ||
                               entry.path.find("/note") != std::string_view::npos;
        if (!noteStrip)
            continue;
        SCOPED_TRACE(std::string(entry.path));
        const QImage image = load(entry);
        ASSERT_EQ(image.width() % 64, 0);
        ASSERT_EQ(image.height() % 64, 0);
        for (int y = 0; y < image.height(); y += 64)
            for (int x = 0; x < image.width(); x += 64) {
                EXPECT_TRUE(hasVisiblePixel(image, QRect(x, y, 64, 64))) << x << "," << y;
            }
    }
    // Mines: four 64-pixel frames on the top row; lifts: eight 32-pixel frames.
    const QImage mine = load(pictureTable()[static_cast<int>(PictureId::AnimMine)]);
    const QImage lift = load(pictureTable()[static_cast<int>(PictureId::AnimLift)]);
    for (int frame = 0; frame < 8; ++frame) {
        EXPECT_TRUE(hasVisiblePixel(mine, QRect((frame % 4) * 64, 0, 64, 64)));
        EXPECT_TRUE(hasVisiblePixel(lift, QRect(frame * 32, 0, 32, 32)));
    }
}

} // namespace
} // namespace quillex
