#include "facepainter.h"

#include "icontheme.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace
{

// How a face looks in one state: what is absent is not drawn.
struct Look {
    QColor fill; // invalid: none
    QColor border;
    QColor icon;
    qreal iconOpacity = 1.0;
};

QColor rgb(const char *hex)
{
    return QColor(QLatin1String(hex));
}

bool isTitleStrip(FaceStyle style)
{
    return style == FaceStyle::TitleMenu || style == FaceStyle::TitleButton ||
           style == FaceStyle::TitleClose;
}

// Centred on whole pixels, so the icon's lines stay where its drawing puts them.
QRect centred(QSize outer, int size)
{
    return QRect((outer.width() - size) / 2, (outer.height() - size) / 2, size, size);
}

// Where a face's icon goes; the widgets draw their labels around it.
QRect iconBox(FaceStyle style, QSize size)
{
    switch (style) {
    case FaceStyle::Tool:
        return QRect((size.width() - 24) / 2, 6, 24, 24); // the label takes the bottom 18 px
    case FaceStyle::Media:
        return centred(size, size.height() >= 36 ? 20 : 18);
    case FaceStyle::Primary:
    case FaceStyle::Danger:
    case FaceStyle::Secondary: {
        const int icon = size.height() < 40 ? 18 : 20;
        if (size.width() * 2 > size.height() * 3) // the label follows from x 36
            return QRect(12, (size.height() - icon) / 2, icon, icon);
        return centred(size, icon);
    }
    default:
        return centred(size, 16);
    }
}

// Draws into a layer first when `opacity` is below 1, so overlapping parts of
// the drawing do not show through one another.
void withOpacity(QPainter &p, const QRect &area, qreal opacity,
                 const std::function<void(QPainter &)> &draw)
{
    if (opacity >= 1.0) {
        draw(p);
        return;
    }
    const qreal dpr = p.device()->devicePixelRatio();
    QImage layer(area.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    QPainter lp(&layer);
    lp.setRenderHints(p.renderHints());
    lp.translate(-area.topLeft());
    draw(lp);
    lp.end();
    p.save();
    p.setOpacity(p.opacity() * opacity);
    p.drawImage(area.topLeft(), layer);
    p.restore();
}

} // namespace

FacePainter::FacePainter(const SkinSource &skin, const IconTheme &icons)
    : m_skin(skin), m_icons(icons)
{
}

void FacePainter::paintDecor(QPainter &p, const Decor &decor) const
{
    paintBox(p, decor.rect, decor.fill, decor.border, decor.radius);
    if (!decor.icon.isEmpty())
        paintIcon(p, decor.icon, decor.rect, decor.iconColor);
}

void FacePainter::paintFace(QPainter &p, const Face &face, QSize size, FaceState state) const
{
    const auto c = [this](const char *key) { return m_skin.color(QLatin1String(key)); };
    const auto pick = [state](QColor normal, QColor over, QColor down, QColor disabled) {
        return state == FaceState::Over       ? over
               : state == FaceState::Down     ? down
               : state == FaceState::Disabled ? disabled
                                              : normal;
    };
    const QColor none;
    const qreal faded = state == FaceState::Disabled ? 0.35 : 1.0;

    Look look{none, none, c("text"), faded};
    switch (face.style) {
    case FaceStyle::Tool:
        look.fill = pick(none, rgb("#e6ecf8"), rgb("#d3def4"), none);
        look.border = pick(none, rgb("#c5d3f0"), rgb("#b3c6ec"), none);
        break;
    case FaceStyle::Media:
        look.fill = pick(c("surface"), rgb("#e6ecf8"), rgb("#d3def4"), c("window"));
        look.border = pick(c("border"), rgb("#9fb4e4"), rgb("#9fb4e4"), rgb("#e1e4e9"));
        look.iconOpacity = state == FaceState::Disabled ? 0.30 : 1.0;
        break;
    case FaceStyle::Primary:
        look = {pick(c("accent"), c("accentHover"), c("accentPressed"), rgb("#a9b9df")), none,
                Qt::white};
        break;
    case FaceStyle::Danger:
        look = {pick(c("danger"), c("dangerHover"), rgb("#8e2a20"), rgb("#d9a19b")), none,
                Qt::white};
        break;
    case FaceStyle::Secondary:
        look.fill = pick(c("surface"), rgb("#eef2fa"), rgb("#dde5f5"), c("window"));
        look.border = pick(c("border"), rgb("#aebfe3"), rgb("#aebfe3"), c("border"));
        break;
    case FaceStyle::TitleMenu:
    case FaceStyle::TitleButton:
        look = {pick(none, rgb("#3a4556"), rgb("#2d3645"), none), none, c("titleText"), faded};
        break;
    case FaceStyle::TitleClose:
        look = {pick(none, c("danger"), c("dangerHover"), none), none, c("titleText"), faded};
        break;
    case FaceStyle::SwitchOn:
    case FaceStyle::SwitchOff: {
        // The label follows from x 44; only the switch is drawn.
        const bool on = face.style == FaceStyle::SwitchOn;
        const QColor track =
            on ? pick(c("accent"), c("accentHover"), c("accentPressed"), c("accent"))
               : pick(rgb("#b9c0cb"), rgb("#a3abb8"), rgb("#8f98a6"), rgb("#b9c0cb"));
        paintSwitch(p, on, track, size, state == FaceState::Disabled ? 0.45 : 1.0);
        return;
    }
    }

    paintBox(p, QRectF(QPointF(0, 0), size), look.fill, look.border,
             isTitleStrip(face.style) ? 4 : 6);
    if (!face.icon.isEmpty())
        paintIcon(p, face.icon, iconBox(face.style, size), look.icon, look.iconOpacity);
}

void FacePainter::paintSwitch(QPainter &p, bool on, const QColor &trackColour, QSize size,
                              qreal opacity) const
{
    const QRect track(0, (size.height() - 20) / 2, 36, 20);
    withOpacity(p, track, opacity, [&](QPainter &lp) {
        paintBox(lp, track, trackColour, QColor(), track.height() / 2.0);
        const int knobX = on ? track.x() + track.width() - 18 : track.x() + 2;
        lp.setPen(Qt::NoPen);
        lp.setBrush(Qt::white);
        lp.drawEllipse(QRectF(knobX, track.y() + 2, 16, 16));
    });
}

void FacePainter::paintTitle(QPainter &p, const QString &displayName, QSize size) const
{
    const QColor colour = m_skin.color(QStringLiteral("titleText"));
    paintIcon(p, kAppMarkIcon, QRect(0, (size.height() - 20) / 2, 20, 20), colour);

    QFont font(m_skin.font);
    font.setPixelSize(13);
    font.setBold(true);
    const QRect text(28, 0, size.width() - 28, size.height());
    // The longer editions' names take the window's smaller text size rather than
    // losing their end.
    if (QFontMetrics(font).horizontalAdvance(displayName) > text.width())
        font.setPixelSize(12);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
               QFontMetrics(font).elidedText(displayName, Qt::ElideRight, text.width()));
}

void FacePainter::paintAppIcon(QPainter &p, QSize size) const
{
    // A square a little inside the canvas, as desktop application icons are drawn.
    const qreal unit = size.width() / 64.0;
    const QRectF square(4 * unit, 4 * unit, 56 * unit, 56 * unit);
    paintBox(p, square, m_skin.color(QStringLiteral("accent")), QColor(), 12 * unit);
    paintIcon(p, kAppMarkIcon, centred(size, qRound(32 * unit)), Qt::white);
}

void FacePainter::paintPickerButton(QPainter &p, const QRect &band, const QString &icon,
                                    bool opensPanel, bool over) const
{
    const QColor accent = m_skin.color(QStringLiteral("accent"));
    if (over) {
        // A light tint of the accent, so the name written on it keeps its contrast.
        const QColor surface = m_skin.color(QStringLiteral("surface"));
        constexpr qreal tint = 0.10;
        p.fillRect(band,
                   QColor::fromRgbF(surface.redF() + (accent.redF() - surface.redF()) * tint,
                                    surface.greenF() + (accent.greenF() - surface.greenF()) * tint,
                                    surface.blueF() + (accent.blueF() - surface.blueF()) * tint));
        p.fillRect(QRect(band.left(), band.top(), 3, band.height()), accent);
    }
    p.fillRect(QRect(band.left() + 12, band.bottom(), band.width() - 24, 1),
               m_skin.color(QStringLiteral("border")));

    const QColor colour = over ? accent : m_skin.color(QStringLiteral("muted"));
    paintIcon(p, icon, QRect(band.left() + 12, band.top() + (band.height() - 32) / 2, 32, 32),
              colour);
    if (opensPanel)
        paintIcon(
            p, kOpenerIcon,
            QRect(band.left() + band.width() - 28, band.top() + (band.height() - 16) / 2, 16, 16),
            colour);
}

void FacePainter::paintPickerCategory(QPainter &p, const QRect &band, const QString &icon,
                                      bool over) const
{
    if (over)
        p.fillRect(band, m_skin.color(QStringLiteral("accent")));
    const QColor colour = over ? QColor(Qt::white) : m_skin.color(QStringLiteral("muted"));
    paintIcon(p, icon, QRect(band.left() + 10, band.top() + (band.height() - 16) / 2, 16, 16),
              colour);
    // Every category opens its panel beside the column; the arrow says so where
    // the pointer is. Its place is the 12 px from x 137; the theme's arrow is drawn
    // at the 16 px it is made for, where its 12-px-high drawing is sharp, centred there.
    if (over)
        paintIcon(p, kOpenerIcon,
                  QRect(band.left() + 137 - 2, band.top() + (band.height() - 16) / 2, 16, 16),
                  colour);
}

void FacePainter::paintIcon(QPainter &p, const QString &name, const QRect &box, const QColor &color,
                            qreal opacity) const
{
    withOpacity(p, box, opacity * color.alphaF(),
                [&](QPainter &lp) { m_icons.paint(lp, name, box, color); });
}

void FacePainter::paintBox(QPainter &p, const QRectF &rect, const QColor &fill,
                           const QColor &border, qreal radius) const
{
    QPainterPath outer;
    outer.addRoundedRect(rect, radius, radius);
    if (!border.isValid()) {
        if (fill.isValid())
            p.fillPath(outer, fill);
        return;
    }
    // The border is the ring between the box and the box one pixel smaller, so it
    // covers whole pixels at every scale.
    const qreal innerRadius = qMax(radius - 1, 0.0);
    QPainterPath inner;
    inner.addRoundedRect(rect.adjusted(1, 1, -1, -1), innerRadius, innerRadius);
    if (fill.isValid() && fill.alpha() == 255) {
        // Filling over the border's colour leaves no seam along the rounded corners.
        p.fillPath(outer, border);
        p.fillPath(inner, fill);
        return;
    }
    QPainterPath ring = outer;
    ring.addPath(inner);
    ring.setFillRule(Qt::OddEvenFill);
    p.fillPath(ring, border);
    if (fill.isValid())
        p.fillPath(inner, fill);
}
