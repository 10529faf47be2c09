#pragma once

#include <QPixmap>
#include <QString>

namespace skin
{

// Loads a picture of the skin. On a screen that scales by more than 1 the
// "@2x" variant beside it ("name@2x.bmp") is used when it exists, so the window
// stays sharp; a missing file gives a null pixmap.
QPixmap loadPicture(const QString &path);

// The "@2x" name of a picture path.
QString doubleSizeName(const QString &path);

} // namespace skin
