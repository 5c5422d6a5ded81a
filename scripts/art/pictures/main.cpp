// Writes every picture the program loads, under <data root>/graphics, at the sizes and in
// the frame layouts the program expects. Usage: quillex-make-pictures <data root>
#include "hold_pictures.h"
#include "lettering.h"
#include "note_pictures.h"
#include "paint_kit.h"
#include "palette.h"
#include "screen_pictures.h"
#include "skins.h"

#include <QFontDatabase>
#include <QGuiApplication>

#include <cstdio>

namespace art {

bool savePictureSized(const QImage& picture, const QString& root, const QString& relativePath,
                      int width, int height) {
    if (picture.width() != width || picture.height() != height) {
        std::fprintf(stderr, "%s is %dx%d, expected %dx%d\n", qPrintable(relativePath),
                     picture.width(), picture.height(), width, height);
        return false;
    }
    return savePicture(picture, root, relativePath);
}

bool writeCommonPictures(const QString& root) {
    const QString folder = "graphics/common/";
    bool ok = savePictureSized(mineSheet(), root, folder + "animmine.png", 256, 128);
    ok &= savePictureSized(comboLabelPicture(), root, folder + "combolabel.png", 96, 32);
    ok &= savePictureSized(comboDigitsPicture(), root, folder + "combonumbers.png", 440, 66);
    ok &= savePictureSized(crosshatchPicture(), root, folder + "crosshatch.png", 8, 8);
    ok &= savePictureSized(dottedPicture(1), root, folder + "dotted.png", 8, 1);
    ok &= savePictureSized(dottedPicture(2), root, folder + "dotted2.png", 8, 1);
    ok &= savePictureSized(judgementPicture(), root, folder + "judgement.png", 168, 168);
    ok &= savePictureSized(burstPicture(128, QColor(255, 80, 30), 16), root,
                           folder + "mineexplosion.png", 128, 128);
    ok &= savePictureSized(okNgPicture(), root, folder + "okng.png", 62, 56);
    ok &= savePictureSized(wallpaperPicture(), root, folder + "wallpaper.png", 800, 600);
    ok &= savePictureSized(splashPicture(), root, folder + "splash.png", 256, 80);
    ok &= savePictureSized(liftSheet(), root, folder + "animlift.png", 256, 64);
    ok &= savePictureSized(rollHeadPicture(64, 32), root, folder + "rollhead.png", 64, 32);
    ok &= savePictureSized(bodySheet(64, 256, 1, rollColour, BodyLook::Striped), root,
                           folder + "rollbody.png", 64, 256);
    ok &= savePictureSized(tailSheet(64, 32, 1, rollColour, BodyLook::Striped), root,
                           folder + "rolltail.png", 64, 32);
    ok &= savePictureSized(autoscrollPicture(), root, folder + "autoscroll.png", 32, 32);
    return ok;
}

} // namespace art

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    // The lettering is drawn in Liberation Sans Bold; load it by file where fontconfig
    // might not offer it under that name.
    QFontDatabase::addApplicationFont(
        "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf");
    const QString root = QString::fromLocal8Bit(argv[1]);
    bool ok = art::writeCommonPictures(root);
    ok &= art::writeDanceStandard(root);
    ok &= art::writeDanceEnhanced(root);
    ok &= art::writePumpStandard(root);
    return ok ? 0 : 1;
}
