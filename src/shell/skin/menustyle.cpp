#include "shell/skin/menustyle.h"

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace skin
{

QColor colorFromBgr(int value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

MenuStyle::MenuStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

QSize MenuStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                  const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(size.width(), kSeparatorHeight);
    QString text = item->text;
    QString shortcut;
    if (const int tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
        shortcut = text.mid(tab + 1);
        text.truncate(tab);
    }
    const QFontMetrics fm(item->font);
    int width = kImageBar + 8 + fm.horizontalAdvance(QString(text).remove(QLatin1Char('&'))) + 24;
    if (!shortcut.isEmpty())
        width += fm.horizontalAdvance(shortcut) + 24;
    return QSize(std::max(width, 120), kItemHeight);
}

void MenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const
{
    if (element == PE_PanelMenu || element == PE_FrameMenu) {
        painter->save();
        painter->fillRect(option->rect, colorFromBgr(kMenuColor));
        painter->setPen(Qt::black);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int MenuStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                           const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 1;
    case PM_SmallIconSize:
        return 16;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element != CE_MenuItem || !item) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    painter->save();
    const QRect r = item->rect;
    painter->fillRect(r, colorFromBgr(kMenuColor));
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        painter->setPen(colorFromBgr(kSeparatorColor));
        const int y = r.top() + r.height() / 2;
        painter->drawLine(r.left() + kImageBar + 2, y, r.right() - 2, y);
        painter->restore();
        return;
    }
    const bool enabled = item->state & State_Enabled;
    const bool selected = enabled && (item->state & State_Selected);
    if (selected) {
        painter->fillRect(r, colorFromBgr(kSelectedColor));
        painter->setPen(colorFromBgr(kSelectedColor));
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (!item->icon.isNull()) {
        const QPixmap icon = item->icon.pixmap(QSize(16, 16), painter->device()->devicePixelRatioF(),
                                               enabled ? QIcon::Normal : QIcon::Disabled);
        painter->drawPixmap(r.left() + (kImageBar - 16) / 2, r.top() + (r.height() - 16) / 2, icon);
    }
    QString text = item->text;
    QString shortcut;
    if (const int tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
        shortcut = text.mid(tab + 1);
        text.truncate(tab);
    }
    painter->setPen(selected ? Qt::white : enabled ? Qt::black : QColor(0x8c, 0x8c, 0x8c));
    painter->setFont(item->font);
    const QRect textRect = r.adjusted(kImageBar + 6, 0, -8, 0);
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text);
    if (!shortcut.isEmpty())
        painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignRight, shortcut);
    painter->restore();
}

} // namespace skin
