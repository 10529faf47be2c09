#include "shell/skin/skinengine.h"

#include "shell/skin/skinpicture.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>

namespace skin
{

// ---- SkinObject

SkinObject::SkinObject(SkinnedWindow &window, ObjectDef def)
    : m_window(window), m_def(std::move(def)), m_rect(m_def.rect), m_text(m_def.text),
      m_visible(m_def.visible)
{
}

void SkinObject::setRect(const QRect &rect)
{
    if (rect == m_rect)
        return;
    const QRect old = m_rect;
    m_rect = rect;
    m_window.update(old.united(rect));
}

void SkinObject::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    redraw();
}

void SkinObject::redraw()
{
    m_window.update(m_rect);
    // Objects drawn only while this one is shown change with it.
    for (const auto &o : m_window.objects())
        if (o->m_def.parent == m_def.name)
            m_window.update(o->m_rect);
}

void SkinObject::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    redraw();
}

void SkinObject::setPosition(int position)
{
    position = std::clamp(position, 0, kMax);
    if (position == m_position)
        return;
    m_position = position;
    redraw();
}

void SkinObject::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    redraw();
}

// ---- SkinnedWindow

SkinnedWindow::SkinnedWindow(QWidget *window, const SkinDef &skin, const QString &folder)
    : QWidget(window), m_folder(folder), m_font(skin.font)
{
    setObjectName(QStringLiteral("Skin1"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinnedWindow::applyForm(const FormDef &form)
{
    if (!m_objects.empty() && form.name == m_form.name)
        return;
    m_hover = m_pressed = nullptr;
    m_form = form;
    m_objects.clear();
    for (const ObjectDef &d : m_form.objects)
        m_objects.push_back(std::make_unique<SkinObject>(*this, d));
    loadPictures();
    setGeometry(QRect(QPoint(0, 0), m_form.size));
    lower();
    QWidget::update();
}

void SkinnedWindow::loadPictures()
{
    m_background = loadPicture(m_folder + QLatin1Char('/') + m_form.background);
    const QString faces = m_folder + QStringLiteral("/skin/") + m_form.name + QLatin1Char('/');
    for (const auto &o : m_objects) {
        if (o->m_def.hasFace) {
            const QString base = faces + o->m_def.name;
            o->m_normal = loadPicture(base + QStringLiteral(".png"));
            o->m_over = loadPicture(base + QStringLiteral("on.png"));
            o->m_down = loadPicture(base + QStringLiteral("down.png"));
            o->m_disabled = loadPicture(base + QStringLiteral("D.png"));
        }
        if (!o->m_def.picture.isEmpty())
            o->m_picture = loadPicture(m_folder + QLatin1Char('/') + o->m_def.picture);
    }
}

SkinObject *SkinnedWindow::FindObject(const QString &name) const
{
    for (const auto &o : m_objects)
        if (o->name() == name)
            return o.get();
    return nullptr;
}

bool SkinnedWindow::isShown(const SkinObject &object) const
{
    // A parent chain cannot loop for long: the file holds a few dozen objects.
    const SkinObject *o = &object;
    for (size_t depth = 0; o && depth <= m_objects.size(); ++depth) {
        if (!o->m_visible)
            return false;
        o = o->m_def.parent.isEmpty() ? nullptr : FindObject(o->m_def.parent);
    }
    return true;
}

SkinObject *SkinnedWindow::objectAt(const QPoint &pos) const
{
    for (auto it = m_objects.rbegin(); it != m_objects.rend(); ++it) {
        SkinObject *o = it->get();
        if (!o->m_rect.isEmpty() && o->m_rect.contains(pos) && isShown(*o))
            return o;
    }
    return nullptr;
}

namespace
{

QPainterPath rounded(const QRectF &r, qreal radius)
{
    QPainterPath path;
    radius = std::min({radius, r.width() / 2, r.height() / 2});
    path.addRoundedRect(r, radius, radius);
    return path;
}

} // namespace

void SkinnedWindow::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.setClipRegion(event->region());
    if (!m_background.isNull())
        p.drawPixmap(0, 0, m_background);
    else
        p.fillRect(rect(), QColor(0xf3, 0xf4, 0xf6));
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const auto &o : m_objects)
        if (isShown(*o) && event->region().intersects(o->m_rect.adjusted(-1, -1, 1, 1)))
            paintObject(p, *o);
}

void SkinnedWindow::paintObject(QPainter &p, const SkinObject &o) const
{
    const ObjectDef &d = o.m_def;
    const QRect r = o.m_rect;
    QFont font(m_font);
    font.setPixelSize(d.fontSize);
    font.setBold(d.bold);
    const auto drawText = [&](const QRect &area, const QString &text, Qt::Alignment align,
                              const QColor &color) {
        if (text.isEmpty() || area.isEmpty())
            return;
        p.setFont(font);
        p.setPen(color);
        if (d.wrap) {
            p.drawText(area, int(align) | Qt::TextWordWrap, text);
            return;
        }
        const QString shown = d.elide == Qt::ElideNone
                                  ? text
                                  : QFontMetrics(font).elidedText(text, d.elide, area.width());
        p.drawText(area, int(align) | Qt::TextSingleLine, shown);
    };

    switch (d.kind) {
    case ObjectKind::Region:
        return;
    case ObjectKind::Panel:
    case ObjectKind::Bar: {
        if (r.width() <= 0 || r.height() <= 0)
            return;
        const QRectF area = d.border.isValid() ? QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5) : QRectF(r);
        p.setPen(d.border.isValid() ? QPen(d.border, 1) : QPen(Qt::NoPen));
        p.setBrush(d.fill.isValid() ? QBrush(d.fill) : QBrush(Qt::NoBrush));
        p.drawPath(rounded(area, d.radius));
        return;
    }
    case ObjectKind::Slider: {
        const qreal cy = r.center().y() + 0.5;
        const qreal thumb = std::min(r.height(), 14) / 2.0;
        const qreal left = r.left() + thumb, right = r.right() + 1 - thumb;
        const qreal x = left + (right - left) * o.m_position / SkinSliderFacet::kMax;
        p.setPen(Qt::NoPen);
        p.setBrush(d.track.isValid() ? d.track : QColor(0xdd, 0xe1, 0xe7));
        p.drawPath(rounded(QRectF(left, cy - 2, right - left, 4), 2));
        p.setBrush(d.fill.isValid() ? d.fill : QColor(0x24, 0x58, 0xd6));
        p.drawPath(rounded(QRectF(left, cy - 2, x - left, 4), 2));
        p.setPen(QPen(d.fill.isValid() ? d.fill : QColor(0x24, 0x58, 0xd6), 1.5));
        p.setBrush(d.thumb.isValid() ? d.thumb : Qt::white);
        p.drawEllipse(QPointF(x, cy), thumb - 1, thumb - 1);
        return;
    }
    case ObjectKind::Text:
        drawText(r, o.m_text, d.align, d.color);
        return;
    case ObjectKind::Image:
        if (!o.m_picture.isNull())
            p.drawPixmap(r, o.m_picture);
        return;
    case ObjectKind::Button: {
        const bool over = m_hover == &o;
        const bool down = over && m_pressed == &o;
        const QPixmap *picture = !o.m_enabled ? &o.m_disabled
                                 : down       ? &o.m_down
                                 : over       ? &o.m_over
                                              : &o.m_normal;
        if (picture->isNull())
            picture = &o.m_normal;
        if (!picture->isNull())
            p.drawPixmap(r, *picture);
        const QRect caption = d.captionRect.isEmpty() ? r : d.captionRect.translated(r.topLeft());
        QColor color = d.color;
        if (!o.m_enabled)
            color.setAlphaF(0.45f);
        drawText(caption, o.m_text, d.captionRect.isEmpty() ? Qt::AlignCenter : d.align, color);
        return;
    }
    }
}

void SkinnedWindow::setHover(SkinObject *o)
{
    if (o == m_hover)
        return;
    if (m_hover && m_hover->m_def.kind == ObjectKind::Button)
        update(m_hover->m_rect);
    m_hover = o;
    if (m_hover && m_hover->m_def.kind == ObjectKind::Button)
        update(m_hover->m_rect);
}

void SkinnedWindow::trackSlider(SkinObject &o, int x)
{
    const QRect r = o.m_rect;
    const int thumb = std::min(r.height(), 14) / 2;
    const int span = std::max(1, r.width() - 2 * thumb);
    const int position =
        std::clamp(int((qint64(x - r.left() - thumb) * SkinSliderFacet::kMax + span / 2) / span), 0,
                   SkinSliderFacet::kMax);
    o.setPosition(position);
    emit OnScrollTrack(&o, position);
}

void SkinnedWindow::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    SkinObject *o = objectAt(pos);
    if (o)
        emit OnMouseDown(o, event->button(), pos.x(), pos.y());
    if (event->button() != Qt::LeftButton)
        return;
    const bool active = o && (o->m_def.kind == ObjectKind::Button ||
                              o->m_def.kind == ObjectKind::Slider);
    if (!active && m_form.dragArea.contains(pos)) {
        m_drag.press(this, *event);
        return;
    }
    m_pressed = o;
    if (o && o->m_def.kind == ObjectKind::Button)
        update(o->m_rect);
    if (o && o->m_def.kind == ObjectKind::Slider && o->m_enabled)
        trackSlider(*o, pos.x());
}

void SkinnedWindow::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag.move(this, *event))
        return;
    if (m_pressed && m_pressed->m_def.kind == ObjectKind::Slider) {
        trackSlider(*m_pressed, pos.x());
        emit OnMouseMove(m_pressed, pos.x(), pos.y());
        return;
    }
    SkinObject *o = objectAt(pos);
    setHover(o);
    if (o)
        emit OnMouseMove(o, pos.x(), pos.y());
}

void SkinnedWindow::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag.release())
        return;
    SkinObject *pressed = m_pressed;
    m_pressed = nullptr;
    SkinObject *o = objectAt(pos);
    SkinObject *source = pressed && pressed->m_def.kind == ObjectKind::Slider ? pressed : o;
    if (source)
        emit OnMouseUp(source, event->button(), pos.x(), pos.y());
    if (pressed && pressed->m_def.kind == ObjectKind::Button)
        update(pressed->m_rect);
    if (event->button() != Qt::LeftButton || !pressed || pressed != o || !o->m_enabled)
        return;
    if (o->m_def.frame == QLatin1String("minimize")) {
        setHover(nullptr);
        window()->showMinimized();
        return;
    }
    emit OnClick(o);
}

void SkinnedWindow::leaveEvent(QEvent *event)
{
    setHover(nullptr);
    QWidget::leaveEvent(event);
}

// ---- SkinEngine

SkinEngine::SkinEngine(QObject *parent) : QObject(parent) {}

bool SkinEngine::OpenSkinFile(const QString &path)
{
    m_error.clear();
    m_skin = readSkinFile(path, &m_error);
    m_folder = QFileInfo(path).absolutePath();
    return m_skin.has_value();
}

SkinnedWindow *SkinEngine::SkinWindow(QWidget *window)
{
    if (!m_skin) {
        m_error = QStringLiteral("no skin is open");
        return nullptr;
    }
    return SkinWindowAs(window, m_skin->defaultForm);
}

SkinnedWindow *SkinEngine::SkinWindowAs(QWidget *window, const QString &formName)
{
    if (!window)
        return nullptr;
    if (!m_skin) {
        m_error = QStringLiteral("no skin is open");
        return nullptr;
    }
    const FormDef *form = m_skin->form(formName);
    if (!form) {
        m_error = QStringLiteral("the skin has no form \"%1\"").arg(formName);
        return nullptr;
    }
    SkinnedWindow *skinned = SkinnedWindowOf(window);
    if (!skinned) {
        skinned = new SkinnedWindow(window, *m_skin, m_folder);
        connect(skinned, &SkinnedWindow::OnClick, this, &SkinEngine::OnClick);
        connect(skinned, &SkinnedWindow::OnMouseDown, this, &SkinEngine::OnMouseDown);
        connect(skinned, &SkinnedWindow::OnMouseMove, this, &SkinEngine::OnMouseMove);
        connect(skinned, &SkinnedWindow::OnMouseUp, this, &SkinEngine::OnMouseUp);
        connect(skinned, &SkinnedWindow::OnScrollTrack, this, &SkinEngine::OnScrollTrack);
        m_windows.emplace_back(skinned);
    }
    skinned->applyForm(*form);
    window->setFixedSize(form->size);
    skinned->show();
    return skinned;
}

SkinnedWindow *SkinEngine::SkinnedWindowOf(QWidget *window) const
{
    for (const QPointer<SkinnedWindow> &w : m_windows)
        if (w && w->parentWidget() == window)
            return w;
    return nullptr;
}

} // namespace skin
