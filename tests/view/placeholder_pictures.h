// Writes a picture for every entry of the picture table into a folder, each filled
// with one known colour, so that pixel probes of rendered frames can tell which
// picture was drawn where.
#pragma once

#include <QColor>
#include <QString>

#include "view/paint/picture_table.h"

namespace quillex::test {

// The colour every placeholder of a picture is filled with.
QColor placeholderColour(PictureId id);

// Writes all pictures under `folder`/graphics/...; `skip` names one to leave out.
bool writePlaceholderPictures(const QString& folder, PictureId skip = PictureId::Count);

} // namespace quillex::test
