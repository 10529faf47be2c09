#pragma once

#include <QColor>
#include <QProxyStyle>

namespace skin
{

// A colour written as one number whose bytes hold blue, green and red from high
// to low, as the menu colours are given.
QColor colorFromBgr(int value);

// How the window's popup menus are drawn: items 21 pixels high, separators 5, an
// image bar 26 wide, the menu, separator and selection colours, white selected text.
class MenuStyle : public QProxyStyle
{
    Q_OBJECT
public:
    static constexpr int kItemHeight = 21;
    static constexpr int kSeparatorHeight = 5;
    static constexpr int kImageBar = 26;
    static constexpr int kMenuColor = 16710650;
    static constexpr int kSeparatorColor = 8684164;
    static constexpr int kSelectedColor = 10504772;

    MenuStyle();

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
};

} // namespace skin
