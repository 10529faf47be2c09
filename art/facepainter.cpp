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
    std::optional<QColor> fill;
    std::optional<QColor> border;
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
    if (decor.fill || decor.border)
        paintBox(p, decor.rect, decor.fill, decor.border, decor.radius);
    if (!decor.icon.isEmpty())
        paintIcon(p, decor.icon, decor.rect, decor.iconColor);
}

void FacePainter::paintFace(QPainter &p, const Face &face, QSize size, FaceState state) const
{
    if (face.style == FaceStyle::SwitchOn || face.style == FaceStyle::SwitchOff) {
        paintSwitch(p, face.style == FaceStyle::SwitchOn, size, state);
        return;
    }

    const auto c = [this](const char *key) { return m_skin.color(QLatin1String(key)); };
    const bool over = state == FaceState::Over;
    const bool down = state == FaceState::Down;
    const bool disabled = state == FaceState::Disabled;
    Look look{std::nullopt, std::nullopt, c("text"), disabled ? 0.35 : 1.0};
    switch (face.style) {
    case FaceStyle::Tool:
        if (over)
            look = {rgb("#e6ecf8"), rgb("#c5d3f0"), look.icon};
        else if (down)
            look = {rgb("#d3def4"), rgb("#b3c6ec"), look.icon};
        break;
    case FaceStyle::Media:
        look.fill = disabled ? c("window")
                    : over   ? rgb("#e6ecf8")
                    : down   ? rgb("#d3def4")
                             : c("surface");
        look.border = disabled ? rgb("#e1e4e9") : over || down ? rgb("#9fb4e4") : c("border");
        look.iconOpacity = disabled ? 0.30 : 1.0;
        break;
    case FaceStyle::Primary:
        look = {disabled ? rgb("#a9b9df")
                : over   ? c("accentHover")
                : down   ? c("accentPressed")
                         : c("accent"),
                std::nullopt, Qt::white};
        break;
    case FaceStyle::Danger:
        look = {disabled ? rgb("#d9a19b")
                : over   ? c("dangerHover")
                : down   ? rgb("#8e2a20")
                         : c("danger"),
                std::nullopt, Qt::white};
        break;
    case FaceStyle::Secondary:
        look.fill = disabled ? c("window")
                    : over   ? rgb("#eef2fa")
                    : down   ? rgb("#dde5f5")
                             : c("surface");
        look.border = over || down ? rgb("#aebfe3") : c("border");
        break;
    case FaceStyle::TitleMenu:
    case FaceStyle::TitleButton:
    case FaceStyle::TitleClose: {
        const bool close = face.style == FaceStyle::TitleClose;
        if (over)
            look.fill = close ? c("danger") : rgb("#3a4556");
        else if (down)
            look.fill = close ? c("dangerHover") : rgb("#2d3645");
        look.icon = c("titleText");
        break;
    }
    case FaceStyle::SwitchOn:
    case FaceStyle::SwitchOff:
        break;
    }

    if (look.fill || look.border)
        paintBox(p, QRectF(QPointF(0, 0), size), look.fill, look.border,
                 isTitleStrip(face.style) ? 4 : 6);
    if (!face.icon.isEmpty())
        paintIcon(p, face.icon, iconBox(face.style, size), look.icon, look.iconOpacity);
}

void FacePainter::paintSwitch(QPainter &p, bool on, QSize size, FaceState state) const
{
    const QRect track(0, (size.height() - 20) / 2, 36, 20);
    QColor colour = on ? m_skin.color(QStringLiteral("accent")) : rgb("#b9c0cb");
    if (state == FaceState::Over)
        colour = on ? m_skin.color(QStringLiteral("accentHover")) : rgb("#a3abb8");
    else if (state == FaceState::Down)
        colour = on ? m_skin.color(QStringLiteral("accentPressed")) : rgb("#8f98a6");

    withOpacity(p, track, state == FaceState::Disabled ? 0.45 : 1.0, [&](QPainter &lp) {
        paintBox(lp, track, colour, std::nullopt, track.height() / 2.0);
        const QRectF knob(on ? track.right() - 17 : track.left() + 2, track.top() + 2, 16, 16);
        lp.setPen(Qt::NoPen);
        lp.setBrush(Qt::white);
        lp.drawEllipse(knob);
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
    paintBox(p, square, m_skin.color(QStringLiteral("accent")), std::nullopt, 12 * unit);
    paintIcon(p, kAppMarkIcon, centred(size, qRound(32 * unit)), Qt::white);
}

void FacePainter::paintIcon(QPainter &p, const QString &name, const QRect &box, const QColor &color,
                            qreal opacity) const
{
    withOpacity(p, box, opacity * color.alphaF(),
                [&](QPainter &lp) { m_icons.paint(lp, name, box, color); });
}

void FacePainter::paintBox(QPainter &p, const QRectF &rect, const std::optional<QColor> &fill,
                           const std::optional<QColor> &border, qreal radius) const
{
    QPainterPath outer;
    outer.addRoundedRect(rect, radius, radius);
    if (!border) {
        p.fillPath(outer, *fill);
        return;
    }
    // The border is the ring between the box and the box one pixel smaller, so it
    // covers whole pixels at every scale.
    QPainterPath inner;
    inner.addRoundedRect(rect.adjusted(1, 1, -1, -1), qMax(radius - 1, 0.0), qMax(radius - 1, 0.0));
    if (fill && fill->alpha() == 255) {
        // Filling over the border's colour leaves no seam along the rounded corners.
        p.fillPath(outer, *border);
        p.fillPath(inner, *fill);
        return;
    }
    QPainterPath ring = outer;
    ring.addPath(inner);
    ring.setFillRule(Qt::OddEvenFill);
    p.fillPath(ring, *border);
    if (fill)
        p.fillPath(inner, *fill);
}
