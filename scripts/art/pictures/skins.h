// Writers of whole picture folders: each writes every picture of its folder under the
// given data root (the folder that holds graphics/) and returns false if any failed.
#pragma once

#include <QImage>
#include <QString>

namespace art {

// Saves one picture after checking it has the size the program loads it at.
bool savePictureSized(const QImage& picture, const QString& root, const QString& relativePath,
                      int width, int height);

bool writeCommonPictures(const QString& root);
bool writeDanceStandard(const QString& root);
bool writeDanceEnhanced(const QString& root);
bool writePumpStandard(const QString& root);

} // namespace art
