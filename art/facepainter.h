#pragma once

#include "skinsource.h"

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class IconTheme;
class QPainter;

enum class FaceState { Normal, Over, Down, Disabled };

// The program's mark: the title picture and the application icon show it.
inline const QString kAppMarkIcon = QStringLiteral("video-x-generic");
// The arrow of a picker entry that opens a panel beside it.
inline const QString kOpenerIcon = QStringLiteral("go-next");

// Draws the skin's shapes, faces and icons in logical pixels; the painter's
// device decides the scale, so the same calls make the 1x and the 2x pictures.
class FacePainter
{
public:
    FacePainter(const SkinSource &skin, const IconTheme &icons);

    void paintDecor(QPainter &p, const Decor &decor) const;
    // A face filling a picture of `size` in one of its states.
    void paintFace(QPainter &p, const Face &face, QSize size, FaceState state) const;
    // The edition's mark and name in a title picture of `size`.
    void paintTitle(QPainter &p, const QString &displayName, QSize size) const;
    void paintAppIcon(QPainter &p, QSize size) const;
    // A profile button of the picker, its button filling `band` of a picture on the
    // surface colour; the program writes the profile's name from x 56 to 36 px
    // short of the right edge.
    void paintPickerButton(QPainter &p, const QRect &band, const QString &icon, bool opensPanel,
                           bool over) const;
    // A category of the picker's column, its entry filling `band` of a picture on
    // the window colour; the program writes the category's name from x 34 to 136.
    void paintPickerCategory(QPainter &p, const QRect &band, const QString &icon, bool over) const;
    void paintIcon(QPainter &p, const QString &name, const QRect &box, const QColor &color,
                   qreal opacity = 1.0) const;

private:
    // A box filled and/or framed by a 1-pixel border inside `rect`; an invalid
    // colour is not drawn.
    void paintBox(QPainter &p, const QRectF &rect, const QColor &fill, const QColor &border,
                  qreal radius) const;
    // A toggle switch at the left of a picture of `size`.
    void paintSwitch(QPainter &p, bool on, const QColor &trackColour, QSize size,
                     qreal opacity) const;

    const SkinSource &m_skin;
    const IconTheme &m_icons;
};
