// The two dance noteskins: "standard" (arrows with a stem, with a diagonal "s_" set for the
// solo layout) and "enhanced" (glossy darts animated over 4 x 4 frames).
#include "hold_pictures.h"
#include "lettering.h"
#include "note_pictures.h"
#include "paint_kit.h"
#include "palette.h"
#include "shapes.h"
#include "skins.h"

namespace art {

namespace {

// The pictures of one arrow shape in the standard skin; prefix is "" or "s_".
// bodyFrames is the number of per-direction frames of the hold pictures.
bool writeStandardSet(const QString& root, const QString& prefix, const QPainterPath& arrow,
                      int bodyFrames) {
    const QString folder = "graphics/dance/standard/" + prefix;
    bool ok = savePictureSized(receptorStrip(arrow, 4), root, folder + "hudarrow.png", 256, 64);
    for (int i = 0; i < quantClassCount; ++i) {
        const QuantClass& quant = quantClass(i);
        ok &= savePictureSized(tapSheet(arrow, quant.colour, 4, 1, TapLook::Standard), root,
                               folder + quant.fileTag + "note.png", 256, 64);
    }
    ok &= savePictureSized(glowPicture(arrow, 64, QColor(210, 240, 255), 5), root,
                           folder + "arrowglow.png", 64, 64);
    ok &= savePictureSized(burstPicture(70, QColor(150, 255, 110), 12), root,
                           folder + "freezeokexplosion.png", 70, 70);
    ok &= savePictureSized(bodySheet(64, 128, bodyFrames, holdColour, BodyLook::Plain), root,
                           folder + "freezebody.png", 64 * bodyFrames, 128);
    ok &= savePictureSized(tailSheet(64, 64, bodyFrames, holdColour, BodyLook::Plain), root,
                           folder + "freezetail.png", 64 * bodyFrames, 64);
    return ok;
}

} // namespace

bool writeDanceStandard(const QString& root) {
    bool ok = writeStandardSet(root, "", standardArrow(), 4);
    ok &= writeStandardSet(root, "s_", diagonalOf(standardArrow()), 2);
    ok &= savePictureSized(snapMarkerPicture(false), root, "graphics/dance/standard/snapbase.png",
                           256, 64);
    return ok;
}

bool writeDanceEnhanced(const QString& root) {
    const QString folder = "graphics/dance/enhanced/";
    const QPainterPath dart = dartArrow();
    const QColor holdTone(40, 215, 140);
    bool ok = savePictureSized(receptorStrip(dart, 4), root, folder + "hudarrow.png", 256, 64);
    for (int i = 0; i < quantClassCount; ++i) {
        const QuantClass& quant = quantClass(i);
        ok &= savePictureSized(tapSheet(dart, quant.colour, 4, 4, TapLook::Enhanced), root,
                               folder + quant.fileTag + "note.png", 256, 256);
    }
    // These two are loaded at their own size.
    ok &= savePictureSized(glowPicture(dart, 64, QColor(190, 255, 235), 5), root,
                           folder + "arrowglow.png", 64, 64);
    ok &= savePictureSized(burstPicture(96, QColor(80, 255, 190), 16), root,
                           folder + "freezeokexplosion.png", 96, 96);
    ok &= savePictureSized(bodySheet(64, 256, 4, holdTone, BodyLook::Enhanced), root,
                           folder + "freezebody.png", 256, 256);
    ok &= savePictureSized(tailSheet(64, 64, 4, holdTone, BodyLook::Enhanced), root,
                           folder + "freezetail.png", 256, 64);
    ok &= savePictureSized(snapMarkerPicture(true), root, folder + "snapbase.png", 256, 64);
    return ok;
}

} // namespace art
