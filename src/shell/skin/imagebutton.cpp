#include "shell/skin/imagebutton.h"

#include "shell/skin/skinpicture.h"

#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace skin
{

ImageButton::ImageButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
}

bool ImageButton::loadPictures(const QString &normal, const QString &over, const QString &disabled,
                               QString *missing)
{
    for (const QString &path : {normal, over, disabled})
        if (!QFileInfo(path).isFile()) {
            if (missing)
                *missing = path;
            return false;
        }
    m_normal = loadPicture(normal);
    m_over = loadPicture(over);
    m_disabled = loadPicture(disabled);
    QString down = normal;
    if (down.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive))
        down.insert(down.size() - 4, QStringLiteral("down"));
    m_down = QFileInfo(down).isFile() ? loadPicture(down) : QPixmap();
    update();
    return true;
}

void ImageButton::setLabelPlace(const QRect &rect, Qt::Alignment align)
{
    m_labelRect = rect;
    m_labelAlign = align;
    update();
}

void ImageButton::setLabelPixelSize(int size)
{
    QFont f = font();
    f.setPixelSize(size);
    setFont(f);
}

QSize ImageButton::sizeHint() const
{
    if (!m_normal.isNull())
        return m_normal.deviceIndependentSize().toSize();
    return QSize(64, 32);
}

void ImageButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool down = isDown() || isChecked();
    const QPixmap *picture = !isEnabled() ? &m_disabled
                             : down       ? (m_down.isNull() ? &m_over : &m_down)
                             : m_over_    ? &m_over
                                          : &m_normal;
    if (picture->isNull())
        picture = &m_normal;
    if (!picture->isNull())
        p.drawPixmap(rect(), *picture);
    else
        p.fillRect(rect(), palette().button());

    if (!text().isEmpty()) {
        QColor color = m_labelColor;
        if (!isEnabled())
            color.setAlphaF(0.5f);
        p.setPen(color);
        p.setFont(font());
        const QRect area = m_labelRect.isEmpty() ? rect() : m_labelRect;
        p.drawText(area, int(m_labelAlign) | Qt::TextSingleLine,
                   fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }
    // Keyboard focus is visible: a ring in the accent colour.
    if (hasFocus() && m_keyboardFocus) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x24, 0x58, 0xd6), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
    }
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    m_over_ = true;
    update();
    emit entered();
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent *event)
{
    m_over_ = false;
    update();
    emit left();
    QAbstractButton::leaveEvent(event);
}

void ImageButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        update();
    QAbstractButton::changeEvent(event);
}

void ImageButton::focusInEvent(QFocusEvent *event)
{
    m_keyboardFocus = event->reason() == Qt::TabFocusReason ||
                      event->reason() == Qt::BacktabFocusReason ||
                      event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void ImageButton::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

} // namespace skin
