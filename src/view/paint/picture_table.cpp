// The picture table: files, sizes and colour keys, in loading order.
#include "view/paint/picture_table.h"

namespace quillex {

namespace {

using K = ColourKey;

constexpr std::array<PictureEntry, kPictureCount> kTable{{
    {"graphics/common/animmine.png", 256, 128},
    {"graphics/common/combolabel.png", 96, 32},
    {"graphics/common/combonumbers.png", 440, 66},
    {"graphics/common/crosshatch.png", 0, 0, K::OpaqueBlack},
    {"graphics/common/dotted.png", 0, 0, K::OpaqueMagenta},
    {"graphics/common/dotted2.png", 0, 0, K::OpaqueMagenta},
    {"graphics/common/judgement.png", 168, 168},
    {"graphics/common/mineexplosion.png", 128, 128},
    {"graphics/common/okng.png", 62, 56},
    {"graphics/common/wallpaper.png", 0, 0, K::OpaqueMagenta},
    {"graphics/common/splash.png", 256, 80},
    {"graphics/common/animlift.png", 256, 64},
    {"graphics/common/rollhead.png", 64, 32},
    {"graphics/common/rollbody.png", 64, 256},
    {"graphics/common/rolltail.png", 64, 32},
    {"graphics/common/autoscroll.png", 32, 32},

    {"graphics/dance/standard/hudarrow.png", 256, 64},
    {"graphics/dance/standard/04thnote.png", 256, 64},
    {"graphics/dance/standard/08thnote.png", 256, 64},
    {"graphics/dance/standard/12thnote.png", 256, 64},
    {"graphics/dance/standard/16thnote.png", 256, 64},
    {"graphics/dance/standard/24thnote.png", 256, 64},
    {"graphics/dance/standard/32ndnote.png", 256, 64},
    {"graphics/dance/standard/48thnote.png", 256, 64},
    {"graphics/dance/standard/64thnote.png", 256, 64},
    {"graphics/dance/standard/192ndnote.png", 256, 64},
    {"graphics/dance/standard/arrowglow.png", 64, 64},
    {"graphics/dance/standard/freezeokexplosion.png", 70, 70},
    {"graphics/dance/standard/freezebody.png", 256, 128},
    {"graphics/dance/standard/freezetail.png", 256, 64},
    {"graphics/dance/standard/snapbase.png", 256, 64},

    {"graphics/dance/standard/s_hudarrow.png", 256, 64},
    {"graphics/dance/standard/s_04thnote.png", 256, 64},
    {"graphics/dance/standard/s_08thnote.png", 256, 64},
    {"graphics/dance/standard/s_12thnote.png", 256, 64},
    {"graphics/dance/standard/s_16thnote.png", 256, 64},
    {"graphics/dance/standard/s_24thnote.png", 256, 64},
    {"graphics/dance/standard/s_32ndnote.png", 256, 64},
    {"graphics/dance/standard/s_48thnote.png", 256, 64},
    {"graphics/dance/standard/s_64thnote.png", 256, 64},
    {"graphics/dance/standard/s_192ndnote.png", 256, 64},
    {"graphics/dance/standard/s_arrowglow.png", 64, 64},
    {"graphics/dance/standard/s_freezeokexplosion.png", 70, 70},
    {"graphics/dance/standard/s_freezebody.png", 128, 128},
    {"graphics/dance/standard/s_freezetail.png", 128, 64},

    {"graphics/pump/standard/hudarrow.png", 128, 64},
    {"graphics/pump/standard/hudcenter.png", 128, 64},
    {"graphics/pump/standard/notedownleft.png", 384, 64},
    {"graphics/pump/standard/noteupleft.png", 384, 64},
    {"graphics/pump/standard/notecenter.png", 384, 64},
    {"graphics/pump/standard/arrowglow.png", 64, 64},
    {"graphics/pump/standard/centerglow.png", 64, 64},
    {"graphics/pump/standard/freezebodydownleft.png", 64, 64},
    {"graphics/pump/standard/freezebodyupleft.png", 64, 64},
    {"graphics/pump/standard/freezebodycenter.png", 64, 64},
    {"graphics/pump/standard/freezetaildownleft.png", 64, 32},
    {"graphics/pump/standard/freezetailupleft.png", 64, 32},
    {"graphics/pump/standard/freezetailcenter.png", 64, 32},

    {"graphics/dance/enhanced/hudarrow.png", 256, 64},
    {"graphics/dance/enhanced/04thnote.png", 256, 256},
    {"graphics/dance/enhanced/08thnote.png", 256, 256},
    {"graphics/dance/enhanced/12thnote.png", 256, 256},
    {"graphics/dance/enhanced/16thnote.png", 256, 256},
    {"graphics/dance/enhanced/24thnote.png", 256, 256},
    {"graphics/dance/enhanced/32ndnote.png", 256, 256},
    {"graphics/dance/enhanced/48thnote.png", 256, 256},
    {"graphics/dance/enhanced/64thnote.png", 256, 256},
    {"graphics/dance/enhanced/192ndnote.png", 256, 256},
    {"graphics/dance/enhanced/arrowglow.png", 0, 0},
    {"graphics/dance/enhanced/freezeokexplosion.png", 0, 0},
    {"graphics/dance/enhanced/freezebody.png", 256, 256},
    {"graphics/dance/enhanced/freezetail.png", 256, 64},
    {"graphics/dance/enhanced/snapbase.png", 256, 64},
}};

} // namespace

const std::array<PictureEntry, kPictureCount>& pictureTable() {
    return kTable;
}

} // namespace quillex
