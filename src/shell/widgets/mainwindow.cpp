#include "shell/widgets/mainwindow.h"

#include "shell/skin/imagebutton.h"
#include "shell/skin/menustyle.h"
#include "shell/skin/skinengine.h"
#include "shell/skin/skinpicture.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/pickerpanels.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace
{

// The form's own places, used where the layout file says nothing.
struct FormButton {
    const char *name;
    const char *hint;
    QRect place;
    const char *label;
};

const FormButton kFormButtons[] = {
    {"bt_dvdopen", "Add DVD", {24, 40, 67, 49}, "Add DVD"},
    {"bt_ifo", "Add IFO file", {88, 32, 72, 49}, "Add IFO"},
    {"bt_remove", "Remove Files", {168, 24, 74, 49}, "Remove"},
    {"bt_clear", "Clear file list", {248, 24, 73, 49}, "Clear"},
    // Our form keeps Settings in the toolbar row, where the layout file leaves it.
    {"bt_set", "Settings", {300, 40, 68, 52}, "Settings"},
    {"bt_chapte", "Show Title or Chapter", {416, 16, 75, 49}, "Chapters"},
    {"bt_back", "Back", {529, 362, 33, 34}, ""},
    {"bt_play", "Play", {567, 362, 33, 34}, ""},
    {"bt_playpause", "Pause", {535, 322, 33, 34}, ""},
    {"bt_next", "Forward", {604, 362, 33, 34}, ""},
    {"bt_playstop", "Stop", {646, 361, 33, 34}, ""},
    {"bt_cut", "Cut", {688, 361, 33, 34}, ""},
    {"bt_images", "Save Image", {728, 360, 33, 34}, ""},
    {"bt_start", "Start conversion", {528, 408, 201, 55}, "Start"},
    {"Bt_Convertstop", "Stop conversion", {528, 462, 201, 54}, "Stop"},
    {"bt_pause", "Stop conversion", {320, 462, 201, 54}, "Pause"},
    {"bt_mergeyse", "merge ", {8, 432, 89, 49}, "Merge into one file"},
    {"bt_mergeno", "merge ", {104, 432, 67, 49}, "Merge into one file"},
};

const QStringList kMainObjects = {
    QStringLiteral("profilestext"), QStringLiteral("convertinfo"), QStringLiteral("filename"),
    QStringLiteral("filesize"),     QStringLiteral("filepath"),    QStringLiteral("usedtime"),
    QStringLiteral("resttime"),     QStringLiteral("play_time"),   QStringLiteral("hint"),
    QStringLiteral("play_bar"),     QStringLiteral("di"),          QStringLiteral("alltime"),
    QStringLiteral("playpos"),      QStringLiteral("convertpos")};

const QStringList kCutterObjects = {QStringLiteral("cut_begin_time"), QStringLiteral("cut_end_time"),
                                    QStringLiteral("cut_play_time"), QStringLiteral("cut_play_bar"),
                                    QStringLiteral("cutplaypos")};

// The label of a toolbar button sits in its bottom band; wide buttons carry an
// icon at the left and the label beside it; switches have the label to the right.
void placeLabel(skin::ImageButton *b)
{
    const QSize s = b->size();
    const QString name = b->objectName();
    if (name.startsWith(QLatin1String("bt_merge"))) {
        b->setLabelPlace(QRect(44, 0, s.width() - 44, s.height()), Qt::AlignLeft | Qt::AlignVCenter);
        b->setLabelPixelSize(12);
    } else if (s.width() > s.height() * 3 / 2) {
        b->setLabelPlace(QRect(36, 0, s.width() - 44, s.height()), Qt::AlignCenter);
        b->setLabelPixelSize(13);
    } else {
        b->setLabelPlace(QRect(0, s.height() - 19, s.width(), 16), Qt::AlignCenter);
        b->setLabelPixelSize(11);
    }
    const bool onAccent = name == QLatin1String("bt_start") || name == QLatin1String("Bt_Convertstop");
    b->setLabelColor(onAccent ? Qt::white : QColor(0x1f, 0x23, 0x28));
    QFont f = b->font();
    f.setBold(onAccent);
    b->setFont(f);
}

} // namespace

MainWindow::MainWindow(JobList &jobs, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Tfm_main"));
    setWindowTitle(QStringLiteral("Video Converter"));
    // Minimise only: the skin draws the title strip and its close object.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(kWidth, kHeight);
    m_engine = new skin::SkinEngine(this);
    m_engine->setObjectName(QStringLiteral("Skin1"));
    buildControls(jobs);
    buildMenus();
    setAcceptDrops(true);
    connect(m_list, &JobListView::pathsDropped, this, [this](const QStringList &paths) {
        if (onPathsDropped)
            onPathsDropped(paths);
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (JobListView::localPaths(event->mimeData()).isEmpty())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QStringList paths = JobListView::localPaths(event->mimeData());
    if (paths.isEmpty())
        return event->ignore();
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (onPathsDropped)
        onPathsDropped(paths);
}

MainWindow::~MainWindow() = default;

skin::ImageButton *MainWindow::addButton(const QString &name, const QString &hint,
                                         const QRect &place, const QString &label)
{
    auto *b = new skin::ImageButton(this);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setText(label);
    b->setGeometry(place);
    b->installEventFilter(this);
    m_buttons.insert(name, b);
    return b;
}

void MainWindow::buildControls(JobList &jobs)
{
    // The title strip: the edition's picture, which also moves the window.
    m_titleStrip = new QWidget(this);
    m_titleStrip->setObjectName(QStringLiteral("pl_appname"));
    m_titleStrip->setGeometry(10, 4, 200, 24);
    m_titlePicture = new QLabel(m_titleStrip);
    m_titlePicture->setObjectName(QStringLiteral("img_name"));
    m_titlePicture->setGeometry(0, 0, 200, 24);
    m_titlePicture->installEventFilter(this);

    for (const FormButton &f : kFormButtons)
        addButton(QString::fromLatin1(f.name), QString::fromLatin1(f.hint), f.place,
                  QString::fromLatin1(f.label));

    // The current category's 16-pixel picture on a tinted tile.
    m_iconPanel = new QWidget(this);
    m_iconPanel->setObjectName(QStringLiteral("Panel1"));
    m_iconPanel->setGeometry(464, 50, 32, 32);
    m_iconPanel->setStyleSheet(
        QStringLiteral("#Panel1 { background: #e3eafb; border-radius: 6px; }"));
    m_iconPanel->setAttribute(Qt::WA_StyledBackground);
    m_icon = new QLabel(m_iconPanel);
    m_icon->setObjectName(QStringLiteral("im_mainico"));
    m_icon->setToolTip(QStringLiteral("Try"));
    m_icon->setGeometry(8, 8, 16, 16);
    m_icon->setCursor(Qt::PointingHandCursor);
    m_icon->installEventFilter(this);

    m_list = new JobListView(jobs, this);
    m_list->setGeometry(12, 100, 500, 258);
    m_list->viewport()->installEventFilter(this);

    m_output = new QLineEdit(this);
    m_output->setObjectName(QStringLiteral("ed_output"));
    m_output->setFrame(false);
    m_output->setText(QStringLiteral("C:\\My Video"));
    m_output->setGeometry(116, 374, 240, 16);


    m_preview = new QWidget(this);
    m_preview->setObjectName(QStringLiteral("pl_play"));
    m_preview->setAutoFillBackground(true);
    QPalette black = m_preview->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_preview->setPalette(black);
    m_preview->setGeometry(524, 100, 245, 184);
    m_preview->installEventFilter(this);
    m_preview->hide();

    // The DVD rows' audio and subtitle streams; shown by the DVD edition.
    for (const auto &[name, first] : {std::pair{"cb_audio", "No Audio"}, {"cb_subtitle", "No Subtitle"}}) {
        auto *combo = new QComboBox(this);
        combo->setObjectName(QString::fromLatin1(name));
        combo->addItem(QString::fromLatin1(first));
        combo->setGeometry(596, QLatin1String(name) == QLatin1String("cb_audio") ? 372 : 404, 173, 24);
        combo->hide();
    }

    // The picker lies above every other control when it opens.
    m_picker = new PickerPanels(this);
    m_picker->onPreviewVisible = [this](bool visible) { m_preview->setVisible(visible); };
    m_picker->onBackdrop = [this](bool visible, const QRect &rect) {
        if (skin::SkinObject *di = skinObject(QStringLiteral("di"))) {
            if (skin::SkinBoxFacet *box = di->box()) {
                box->setRect(rect);
                box->setVisible(visible);
            }
        }
    };
}

QAction *MainWindow::addItem(QMenu *menu, const QString &name, const QString &caption, int image)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (image >= 0)
        a->setProperty("menuImage", image);
    m_allItems.append(a);
    if (!m_actions.contains(name))
        m_actions.insert(name, a);
    return a;
}

void MainWindow::buildMenus()
{
    static skin::MenuStyle *style = new skin::MenuStyle; // shared by every menu, for the run
    const auto make = [this](const char *name) {
        auto *m = new QMenu(this);
        m->setObjectName(QString::fromLatin1(name));
        m->setStyle(style);
        m_menus.insert(m->objectName(), m);
        return m;
    };
    QMenu *file = make("zm_popup_file");
    addItem(file, QStringLiteral("AddFiles2"), QStringLiteral("&Add DVD(A)"), 5);
    addItem(file, QStringLiteral("AddFolder2"), QStringLiteral("Add IFO File(D)"));
    file->addSeparator();
    addItem(file, QStringLiteral("Properties1"), QStringLiteral("Proper&ties(T)"), 4);
    addItem(file, QStringLiteral("RunBackground1"), QStringLiteral("Run Back&ground(G)"));
    file->addSeparator();
    addItem(file, QStringLiteral("Exit2"), QStringLiteral("E&xit(X)"));

    QMenu *edit = make("zm_pop_edit");
    addItem(edit, QStringLiteral("Remove1"), QStringLiteral("&Remove(R)"), 1);
    addItem(edit, QStringLiteral("Clear2"), QStringLiteral("&Clear(C)"));
    addItem(edit, QStringLiteral("Rename1"), QStringLiteral("Re&name(N)"));
    edit->addSeparator();
    addItem(edit, QStringLiteral("SelectAll1"), QStringLiteral("Select A&ll(L)"), 6);
    addItem(edit, QStringLiteral("UnselectAll1"), QStringLiteral("&Unselect All(U)"));

    QMenu *actions = make("zm_pop_actions");
    addItem(actions, QStringLiteral("Convert2"), QStringLiteral("Con&vert(V)"), 2);
    addItem(actions, QStringLiteral("Pause1"), QStringLiteral("&Pause(P)"));
    addItem(actions, QStringLiteral("Stop2"), QStringLiteral("&Stop(S)"));

    QMenu *tools = make("zm_pop_tools");
    addItem(tools, QStringLiteral("settings"), QStringLiteral("Sett&ings(I)"));

    QMenu *help = make("zm_pop_help");
    addItem(help, QStringLiteral("Help1"), QStringLiteral("&Help(H)"), 4);
    help->addSeparator();
    addItem(help, QStringLiteral("About1"), QStringLiteral("About Marlo Video Converter"));

    QMenu *dvd = make("pop_dvd");
    addItem(dvd, QStringLiteral("MenuItem3"), QStringLiteral("Add DVD"), 5);
    addItem(dvd, QStringLiteral("MenuItem8"), QStringLiteral("Add IFO"));
    dvd->addSeparator();
    addItem(dvd, QStringLiteral("MenuItem10"), QStringLiteral("Select All"), 6);
    addItem(dvd, QStringLiteral("MenuItem11"), QStringLiteral("Unselect ALL"));
    dvd->addSeparator();
    addItem(dvd, QStringLiteral("Convert1"), QStringLiteral("Convert"), 2);
    addItem(dvd, QStringLiteral("Stop1"), QStringLiteral("Stop"));
    dvd->addSeparator();
    addItem(dvd, QStringLiteral("Exit1"), QStringLiteral("Exit"));
}

QAction *MainWindow::action(const QString &name) const
{
    return m_actions.value(name);
}

QMenu *MainWindow::menu(const QString &name) const
{
    return m_menus.value(name);
}

skin::ImageButton *MainWindow::button(const QString &name) const
{
    return m_buttons.value(name);
}

QWidget *MainWindow::control(const QString &name) const
{
    if (QWidget *b = m_buttons.value(name))
        return b;
    for (QWidget *w : {static_cast<QWidget *>(m_list), static_cast<QWidget *>(m_output),
                       m_preview, m_titleStrip,
                       static_cast<QWidget *>(m_titlePicture), m_iconPanel,
                       static_cast<QWidget *>(m_icon)})
        if (w->objectName() == name)
            return w;
    return findChild<QWidget *>(name);
}

void MainWindow::loadFormPictures(const QString &programFolder)
{
    loadMenuImages(programFolder);
    // The form's own pictures are the installed ones; the layout file may name others.
    for (skin::ImageButton *b : std::as_const(m_buttons)) {
        const QString base = programFolder + QStringLiteral("/images/") + b->objectName();
        if (b->loadPictures(base + QStringLiteral(".bmp"), base + QStringLiteral("on.bmp"),
                            base + QStringLiteral("D.bmp")))
            placeLabel(b);
    }
}

void MainWindow::loadMenuImages(const QString &programFolder)
{
    // One strip of 16-pixel cells, and its double-size twin for HiDPI screens.
    const QString path = programFolder + QStringLiteral("/images/menuimages.bmp");
    const QPixmap strip(path), big(skin::doubleSizeName(path));
    if (strip.isNull())
        return;
    for (QAction *a : std::as_const(m_allItems)) {
        const QVariant image = a->property("menuImage");
        if (!image.isValid())
            continue;
        const int n = image.toInt();
        if ((n + 1) * 16 > strip.width())
            continue;
        QIcon icon;
        icon.addPixmap(strip.copy(n * 16, 0, 16, 16));
        if (!big.isNull() && (n + 1) * 32 <= big.width()) {
            QPixmap cell = big.copy(n * 32, 0, 32, 32);
            cell.setDevicePixelRatio(2.0);
            icon.addPixmap(cell);
        }
        a->setIcon(icon);
    }
}

void MainWindow::bind(skin::SkinnedWindow *window, const QStringList &names)
{
    for (const QString &name : names) {
        skin::SkinObject *o = window->FindObject(name);
        if (!o)
            continue; // an object the skin lacks stays unbound
        m_bound.insert(name, Bound{.object = o, .box = o->box(), .text = o->textFacet(),
                                   .slider = o->slider()});
    }
}

QString MainWindow::LoadSkinAndBindObjects(const QString &skinFile, QWidget *cutter)
{
    if (!m_engine->OpenSkinFile(skinFile))
        return m_engine->errorString();
    if (!m_engine->SkinWindow(this))
        return m_engine->errorString();
    m_skinned = m_engine->SkinWindowAs(this, QStringLiteral("popclipmill"));
    if (!m_skinned)
        return m_engine->errorString();
    bind(m_skinned, kMainObjects);
    const auto base = [this](const QString &name) {
        const Bound b = m_bound.value(name);
        return b.box ? b.box->rect() : QRect();
    };
    m_baseConvert = base(QStringLiteral("convertpos"));
    m_basePlay = base(QStringLiteral("playpos"));
    SetSliderPosition(QStringLiteral("play_bar"), 0);

    if (cutter) {
        // The trimming window keeps its own frame size from the form.
        m_cutterSkin = m_engine->SkinWindowAs(cutter, QStringLiteral("cutter"));
        if (!m_cutterSkin)
            return m_engine->errorString();
        bind(m_cutterSkin, kCutterObjects);
        m_baseCutPlay = base(QStringLiteral("cutplaypos"));
    }
    return {};
}

QString MainWindow::ApplySkinLayout(const SkinLayout::Plan &plan)
{
    for (const SkinLayout::Button &b : plan.buttons) {
        skin::ImageButton *button = m_buttons.value(b.name);
        if (!button)
            continue;
        if (b.rect)
            button->setGeometry(*b.rect);
        const auto loadPictures = [&]() -> QString {
            if (!b.hasPictures)
                return {};
            QString missing;
            if (!button->loadPictures(b.normalPicture, b.overPicture, b.disabledPicture, &missing))
                return QStringLiteral("Cannot load the picture \"%1\".").arg(missing);
            return {};
        };
        if (!b.picturesAfterVisible)
            if (QString error = loadPictures(); !error.isEmpty())
                return error;
        if (b.visible)
            button->setVisible(*b.visible);
        if (b.picturesAfterVisible)
            if (QString error = loadPictures(); !error.isEmpty())
                return error;
        placeLabel(button);
    }
    for (const char *combo : {"cb_audio", "cb_subtitle"})
        if (QWidget *w = findChild<QWidget *>(QString::fromLatin1(combo))) {
            const QRect r = QLatin1String(combo) == QLatin1String("cb_audio") ? plan.cbAudio
                                                                             : plan.cbSubtitle;
            w->setGeometry(r.left(), r.top(), r.width(), w->height());
        }
    m_output->setGeometry(plan.edOutput);
    m_iconPanel->move(plan.panel1);
    if (QWidget *main = m_picker->panel(QStringLiteral("pl_main")))
        main->move(plan.plMain);
    m_picker->placePanels(plan.plLeft, plan.plTop);
    m_preview->setGeometry(plan.plPlay);
    m_list->setGeometry(plan.lv);
    m_list->setColumnCaption(0, plan.firstColumnCaption);
    m_list->setCheckBoxes(true);
    if (plan.title) {
        m_titleStrip->setGeometry(*plan.title);
        m_titlePicture->setGeometry(QRect(QPoint(0, 0), plan.title->size()));
        m_titlePicture->setPixmap(skin::loadPicture(plan.titlePicture));
        m_titleStrip->show();
    } else {
        m_titleStrip->hide();
    }
    return {};
}

skin::SkinObject *MainWindow::skinObject(const QString &name) const
{
    if (const Bound b = m_bound.value(name); b.object)
        return b.object;
    if (m_skinned)
        if (skin::SkinObject *o = m_skinned->FindObject(name))
            return o;
    return m_cutterSkin ? m_cutterSkin->FindObject(name) : nullptr;
}

QString MainWindow::objectText(const QString &object) const
{
    const skin::SkinObject *o = skinObject(object);
    return o ? o->text() : QString();
}

bool MainWindow::objectShown(const QString &object) const
{
    if (const skin::SkinObject *o = skinObject(object))
        return o->isVisible();
    const QWidget *w = control(object);
    return w && !w->isHidden();
}

QRect MainWindow::objectRect(const QString &object) const
{
    const skin::SkinObject *o = skinObject(object);
    return o ? o->rect() : QRect();
}

void MainWindow::SetObjectText(const QString &object, const QString &text)
{
    if (const Bound b = m_bound.value(object); b.text)
        b.text->setText(text);
}

void MainWindow::SetObjectVisible(const QString &object, bool visible)
{
    if (const Bound b = m_bound.value(object); b.box) {
        b.box->setVisible(visible);
        return;
    }
    // The skin's other objects, then the ordinary controls of the form.
    if (skin::SkinObject *o = skinObject(object)) {
        o->setVisible(visible);
        return;
    }
    if (QWidget *w = control(object))
        w->setVisible(visible);
}

void MainWindow::SetSliderPosition(const QString &object, int position)
{
    if (const Bound b = m_bound.value(object); b.slider)
        b.slider->setPosition(position);
}

int MainWindow::GetSliderPosition(const QString &object)
{
    const Bound b = m_bound.value(object);
    return b.slider ? b.slider->position() : 0;
}

void MainWindow::SetStatusText(const QString &text)
{
    SetObjectText(QStringLiteral("hint"), text);
}

int MainWindow::barRight(int baseLeft, int value, int cap, int width)
{
    // MulDiv: the 64-bit product divided with rounding to the nearest integer.
    const qint64 product = qint64(std::min(value, cap)) * width;
    const qint64 half = product >= 0 ? 5000 : -5000;
    return baseLeft + int((product + half) / 10000);
}

void MainWindow::SetBarFraction(const QString &bar, int value, const QString &layoutSection,
                                int cap)
{
    const Bound b = m_bound.value(bar);
    if (!b.box)
        return;
    const QRect base = bar == QLatin1String("convertpos") ? m_baseConvert
                       : bar == QLatin1String("playpos") ? m_basePlay
                                                         : m_baseCutPlay;
    const int width = m_layout ? m_layout->LayoutInt(layoutSection, QStringLiteral("pos"), 263) : 263;
    QRect r = base;
    // QRect's right is inclusive: a bar from left to right covers right - left pixels.
    r.setRight(barRight(base.left(), value, cap, width) - 1);
    b.box->setRect(r);
    b.box->redraw();
}

void MainWindow::ShowPicture(const QString &object, const QString &path)
{
    if (object != m_icon->objectName())
        return;
    const QPixmap picture = skin::loadPicture(path);
    if (!picture.isNull())
        m_icon->setPixmap(picture);
}

void MainWindow::UpdateCommandStates()
{
    if (onUpdateCommandStates)
        onUpdateCommandStates();
}

QString MainWindow::text() const
{
    return m_output->text();
}

void MainWindow::setText(const QString &text)
{
    m_output->setText(text);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        // Centred on the screen the first time; afterwards where the user left it.
        m_placed = true;
        if (QScreen *screen = this->screen()) {
            QRect r(QPoint(0, 0), size());
            r.moveCenter(screen->availableGeometry().center());
            move(r.topLeft());
        }
    }
    if (onShow)
        onShow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!onCloseQuery || onCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched != m_titlePicture && onControlMouseDown)
        onControlMouseDown();
    if (watched == m_icon && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        m_icon->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()) &&
        onIconClick) {
        onIconClick();
        return true;
    }
    if (watched == m_titlePicture) {
        // The title picture is a handle that moves the window.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return m_drag.press(this, *static_cast<QMouseEvent *>(event));
        case QEvent::MouseMove:
            return m_drag.move(this, *static_cast<QMouseEvent *>(event));
        case QEvent::MouseButtonRelease:
            return m_drag.release();
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}
