#include "shell/widgets/pickerpanels.h"

#include "shell/skin/skinpicture.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace
{

const QColor kSurface(0xff, 0xff, 0xff);
const QColor kBorder(0xd5, 0xd9, 0xe0);
const QColor kText(0x1f, 0x23, 0x28);
const QColor kMuted(0x54, 0x5b, 0x66);
const QColor kAccent(0x24, 0x58, 0xd6);

// Tops of a panel's buttons: the first is 53 high, the others 48.
constexpr int kTops[] = {0, 53, 101, 149, 197, 245, 293, 341};

int buttonHeight(int index)
{
    return index == 0 ? 53 : 48;
}

// A panel of the picker. Its frame is drawn by a child kept above the buttons, so
// the buttons can fill the panel edge to edge.
class PickerPanel : public QWidget
{
public:
    PickerPanel(const QString &name, int width, QWidget *parent) : QWidget(parent)
    {
        setObjectName(name);
        resize(width, PickerPanels::kPanelHeight);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, kSurface);
        setPalette(p);
        m_frame = new Frame(this);
        hide();
    }

    void setFlat(bool flat)
    {
        m_frame->flat = flat;
        m_frame->update();
    }
    // Called once the panel's children exist.
    void frameOnTop()
    {
        m_frame->setGeometry(rect());
        m_frame->raise();
    }

private:
    struct Frame : QWidget {
        explicit Frame(QWidget *parent) : QWidget(parent)
        {
            setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        void paintEvent(QPaintEvent *) override
        {
            QPainter p(this);
            p.setPen(kBorder);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
            if (!flat) {
                // The raised look of the general picker: a darker lower and right edge.
                p.setPen(QColor(0xaa, 0xb1, 0xbc));
                p.drawLine(1, height() - 1, width() - 1, height() - 1);
                p.drawLine(width() - 1, 1, width() - 1, height() - 1);
            }
        }
        bool flat = false;
    };
    Frame *m_frame;
};

} // namespace

PickerTile::PickerTile(Role role, QWidget *parent) : QWidget(parent), m_role(role)
{
    setMouseTracking(true);
    if (role == Role::Button || role == Role::Category || role == Role::Page)
        setCursor(Qt::PointingHandCursor);
}

void PickerTile::setPicture(const QPixmap &picture, bool hovered)
{
    m_picture = picture;
    m_hovered = hovered;
    update();
}

void PickerTile::setCaption(const QString &title, const QString &detail)
{
    m_title = title;
    m_detail = detail;
    setToolTip(detail.isEmpty() ? QString() : title + QLatin1Char(' ') + detail);
    update();
}

void PickerTile::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_picture.isNull())
        p.drawPixmap(rect(), m_picture);
    else if (m_role != Role::Filler)
        p.fillRect(rect(), kSurface);
    if (m_title.isEmpty())
        return;
    QFont f = font();
    switch (m_role) {
    case Role::Button: {
        // Name above, extension below, in the band the picture leaves free.
        const QRect band(56, height() - 48, width() - 56 - (m_arrow ? 36 : 12), 48);
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(m_muted ? kMuted : kText);
        const QFontMetrics fm(f);
        const QString title = fm.elidedText(m_title, Qt::ElideRight, band.width());
        p.drawText(QRect(band.left(), band.top() + 7, band.width(), 18),
                   Qt::AlignLeft | Qt::AlignVCenter, title);
        f.setBold(false);
        f.setPixelSize(11);
        p.setFont(f);
        p.setPen(kMuted);
        p.drawText(QRect(band.left(), band.top() + 25, band.width(), 16),
                   Qt::AlignLeft | Qt::AlignVCenter, m_detail);
        break;
    }
    case Role::Category: {
        f.setPixelSize(12);
        f.setBold(m_hovered);
        p.setFont(f);
        p.setPen(m_hovered ? Qt::white : kText);
        p.drawText(QRect(34, height() - 25, 102, 25), Qt::AlignLeft | Qt::AlignVCenter,
                   QFontMetrics(f).elidedText(m_title, Qt::ElideRight, 102));
        break;
    }
    case Role::Page: {
        f.setPixelSize(11);
        f.setBold(true);
        f.setUnderline(underMouse());
        p.setFont(f);
        p.setPen(kAccent);
        p.drawText(rect().adjusted(12, 0, -12, 0), Qt::AlignRight | Qt::AlignVCenter, m_title);
        break;
    }
    case Role::Filler:
        break;
    }
}

void PickerTile::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (m_role == Role::Page)
        update();
    emit pointed();
}

void PickerTile::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    emit pointed();
}

void PickerTile::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PickerTile::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

PickerPanels::PickerPanels(QWidget *window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("picker"));
    m_back = new QWidget(window);
    m_back->setObjectName(QStringLiteral("pl_back"));
    m_back->hide();
    auto *image13 = new PickerTile(PickerTile::Role::Filler, m_back);
    image13->setObjectName(QStringLiteral("Image13"));
    image13->setAutoFillBackground(true);
    QPalette p = image13->palette();
    p.setColor(QPalette::Window, kSurface);
    image13->setPalette(p);
    image13->resize(kSubPanelWidth, kPanelHeight);
    connect(image13, &PickerTile::pointed, this, [this] {
        if (m_picker)
            m_picker->pointAtBackdrop();
    });

    buildCategoryColumn();
    for (const QString &name : ProfilePicker::allPanels())
        buildPanel(name);
}

QWidget *PickerPanels::makePanel(const QString &name, int width)
{
    auto *panel = new PickerPanel(name, width, m_window);
    m_panels.insert(name, panel);
    return panel;
}

void PickerPanels::buildCategoryColumn()
{
    QWidget *column = makePanel(QStringLiteral("pl_main"), 153);
    int top = 0;
    for (int k = 1; k <= 13; ++k) {
        auto *tile = new PickerTile(PickerTile::Role::Category, column);
        tile->setObjectName(ProfilePicker::categoryImage(k));
        const int height = k == 1 ? 27 : 25;
        tile->setGeometry(0, top, 153, height);
        top += height;
        m_categories.insert(k, tile);
        connect(tile, &PickerTile::pointed, this, [this, k] {
            if (m_picker)
                m_picker->pointAtCategory(k);
        });
    }
    auto *closing = new PickerTile(PickerTile::Role::Filler, column);
    closing->setObjectName(QStringLiteral("Image3"));
    closing->setGeometry(0, top, 153, kPanelHeight - top);
    static_cast<PickerPanel *>(column)->frameOnTop();
}

void PickerPanels::buildPanel(const QString &name)
{
    const int first = ProfilePicker::firstButton(name), last = ProfilePicker::lastButton(name);
    const int width = first >= 102 ? kSubPanelWidth : kPanelWidth;
    QWidget *panel = makePanel(name, width);
    int bottom = 0;
    for (int n = first, i = 0; n <= last; ++n, ++i) {
        auto *tile = new PickerTile(PickerTile::Role::Button, panel);
        tile->setObjectName(QStringLiteral("btim_") + QString::number(n));
        // The eighth button of a long panel is a filler cut by the panel's edge.
        tile->setGeometry(0, kTops[i], width, buttonHeight(i));
        bottom = kTops[i] + buttonHeight(i);
        if (!ProfilePicker::takesPointer(n) && !ProfilePicker::takesClick(n))
            tile->setCursor(Qt::ArrowCursor);
        tile->setArrow(!ProfilePicker::subPanelOfOpener(n).isEmpty());
        m_buttons.insert(n, tile);
        connect(tile, &PickerTile::pointed, this, [this, n] {
            if (m_picker)
                m_picker->pointAtButton(n);
        });
        connect(tile, &PickerTile::clicked, this, [this, n] {
            if (m_picker)
                m_picker->clickButton(n);
        });
    }
    if (bottom < kPanelHeight) {
        auto *filler = new PickerTile(PickerTile::Role::Filler, panel);
        filler->setObjectName(name + QStringLiteral("_filler"));
        filler->setGeometry(0, bottom, width, kPanelHeight - bottom);
    }
    const struct {
        const char *panel, *page, *caption;
    } pages[] = {{"pl_video1", "Image94", "More video formats \u203a"},
                 {"pl_video2", "Image93", "\u2039 Back to common formats"},
                 {"pl_audio1", "Image2", "More audio formats \u203a"},
                 {"pl_audio2", "Image5", "\u2039 Back to common formats"}};
    for (const auto &pg : pages) {
        if (name != QLatin1String(pg.panel))
            continue;
        auto *page = new PickerTile(PickerTile::Role::Page, panel);
        const QString pageName = QString::fromLatin1(pg.page);
        page->setObjectName(pageName);
        page->setCaption(QString::fromUtf8(pg.caption));
        page->setGeometry(0, 341, width, kPanelHeight - 341);
        m_pages.insert(pageName, page);
        connect(page, &PickerTile::clicked, this, [this, pageName] {
            if (m_picker)
                m_picker->clickPageButton(pageName);
        });
    }
    static_cast<PickerPanel *>(panel)->frameOnTop();
}

void PickerPanels::setButtonCaption(int number, const QString &title, const QString &detail,
                                    bool muted)
{
    if (PickerTile *t = m_buttons.value(number)) {
        t->setCaption(title, detail);
        t->setMuted(muted);
    }
}

void PickerPanels::setCategoryCaption(int category, const QString &caption)
{
    if (PickerTile *t = m_categories.value(category))
        t->setCaption(caption);
}

void PickerPanels::setPageCaption(const QString &page, const QString &caption)
{
    if (PickerTile *t = m_pages.value(page))
        t->setCaption(caption);
}

void PickerPanels::placePanels(int left, int top)
{
    for (auto it = m_panels.cbegin(); it != m_panels.cend(); ++it)
        if (it.key() != QLatin1String("pl_main"))
            it.value()->move(left, top);
}

bool PickerPanels::panelVisible(const QString &panel) const
{
    const QWidget *w = m_panels.value(panel);
    return w && !w->isHidden();
}

void PickerPanels::setPanelVisible(const QString &panel, bool visible)
{
    if (QWidget *w = m_panels.value(panel)) {
        w->setVisible(visible);
        if (visible)
            restack();
    }
}

void PickerPanels::restack()
{
    // The backdrop behind the panels, the sub-panels in front of the video page.
    if (!m_back->isHidden())
        m_back->raise();
    const QStringList panels = ProfilePicker::allPanels();
    for (const QString &name : panels)
        if (ProfilePicker::firstButton(name) < 102)
            if (QWidget *w = m_panels.value(name); w && !w->isHidden())
                w->raise();
    if (QWidget *column = m_panels.value(QStringLiteral("pl_main")); !column->isHidden())
        column->raise();
    for (const QString &name : panels)
        if (ProfilePicker::firstButton(name) >= 102)
            if (QWidget *w = m_panels.value(name); w && !w->isHidden())
                w->raise();
}

QRect PickerPanels::panelRect(const QString &panel) const
{
    const QWidget *w = m_panels.value(panel);
    return w ? w->geometry() : QRect();
}

void PickerPanels::movePanel(const QString &panel, const QPoint &topLeft)
{
    if (QWidget *w = m_panels.value(panel))
        w->move(topLeft);
}

void PickerPanels::raisePanel(const QString &panel)
{
    if (QWidget *w = m_panels.value(panel)) {
        w->raise();
        restack();
    }
}

void PickerPanels::setPanelFlat(const QString &panel, bool flat)
{
    if (auto *w = static_cast<PickerPanel *>(m_panels.value(panel)))
        w->setFlat(flat);
}

void PickerPanels::moveButton(int number, int top)
{
    if (PickerTile *t = m_buttons.value(number))
        t->move(t->x(), top);
}

namespace
{

// A tile the picker does not have counts as shown; a picture that cannot be read does not.
bool showOn(PickerTile *tile, const QString &path, bool hovered)
{
    if (!tile)
        return true;
    const QPixmap picture = skin::loadPicture(path);
    if (picture.isNull())
        return false;
    tile->setPicture(picture, hovered);
    return true;
}

} // namespace

bool PickerPanels::showButtonPicture(int number, const QString &path, bool hovered)
{
    return showOn(m_buttons.value(number), path, hovered);
}

bool PickerPanels::showCategoryPicture(int category, const QString &path, bool hovered)
{
    return showOn(m_categories.value(category), path, hovered);
}

void PickerPanels::placeBackdrop(bool visible, const QRect &rect)
{
    m_back->setGeometry(rect);
    m_back->setVisible(visible);
    if (visible)
        restack(); // behind every panel, above the window's other controls
    if (onBackdrop)
        onBackdrop(visible, rect);
}

void PickerPanels::setPreviewVisible(bool visible)
{
    if (onPreviewVisible)
        onPreviewVisible(visible);
}
