// The pump noteskin: corner arrows (blue down, red up) and the yellow centre panel. Each
// picture is drawn once; the program mirrors it for the right-hand corners.
#include "hold_pictures.h"
#include "note_pictures.h"
#include "paint_kit.h"
#include "palette.h"
#include "shapes.h"
#include "skins.h"

#include <QTransform>

namespace art {

namespace {

struct PumpPanel {
    QString name; // as in the file names: "downleft", "upleft", "center"
    QPainterPath shape;
    QColor colour;
};

QPainterPath flippedUpsideDown(const QPainterPath& shape) {
    QTransform flip;
    flip.translate(0, cellSize);
    flip.scale(1, -1);
    return flip.map(shape);
}

} // namespace

bool writePumpStandard(const QString& root) {
    const QString folder = "graphics/pump/standard/";
    const QPainterPath corner = pumpCornerArrow();
    const PumpPanel panels[3] = {
        {"downleft", corner, pumpDownColour},
        {"upleft", flippedUpsideDown(corner), pumpUpColour},
        {"center", pumpCentre(), pumpCentreColour},
    };
    bool ok = savePictureSized(receptorStrip(corner, 2), root, folder + "hudarrow.png", 128, 64);
    ok &= savePictureSized(receptorStrip(pumpCentre(), 2), root, folder + "hudcenter.png", 128, 64);
    for (const PumpPanel& panel : panels) {
        ok &= savePictureSized(tapSheet(panel.shape, panel.colour, 6, 1, TapLook::Pump), root,
                               folder + "note" + panel.name + ".png", 384, 64);
        ok &= savePictureSized(bodySheet(64, 64, 1, panel.colour, BodyLook::Plain), root,
                               folder + "freezebody" + panel.name + ".png", 64, 64);
        ok &= savePictureSized(tailSheet(64, 32, 1, panel.colour, BodyLook::Plain), root,
                               folder + "freezetail" + panel.name + ".png", 64, 32);
    }
    ok &= savePictureSized(glowPicture(corner, 64, QColor(220, 235, 255), 5), root,
                           folder + "arrowglow.png", 64, 64);
    ok &= savePictureSized(glowPicture(pumpCentre(), 64, QColor(255, 245, 200), 5), root,
                           folder + "centerglow.png", 64, 64);
    return ok;
}

} // namespace art
