#include "profiles/profilepicker.h"

#include "core/edition.h"
#include "core/messageboxes.h"
#include "core/profilestate.h"
#include "core/textlookup.h"
#include "profiles/pickerstate.h"

#include <QStringList>

#include <cstdio>

namespace
{

struct Panel {
    const char *name;
    int first, last, category;
};

// Category panels first, then the sub-panels of the first video page.
constexpr Panel kPanels[] = {
    {"pl_video1", 1, 7, 1},      {"pl_video2", 8, 14, 1},    {"pl_audio1", 15, 21, 2},
    {"pl_audio2", 22, 26, 2},    {"pl_ipod", 27, 33, 3},     {"pl_iphone", 34, 40, 4},
    {"pl_gphone", 41, 45, 5},    {"pl_appletv", 46, 52, 6},  {"pl_psp", 53, 59, 7},
    {"pl_xbox", 60, 67, 8},      {"pl_phone", 68, 74, 9},    {"pl_win", 75, 82, 10},
    {"pl_pmp", 83, 90, 11},      {"pl_hd", 91, 98, 12},      {"pl_animation", 99, 101, 13},
    {"pl_avi", 102, 109, 1},     {"pl_mpeg", 110, 117, 1},   {"pl_mp4", 118, 124, 1},
    {"pl_mkv", 125, 132, 1},
};

constexpr const char *kCategoryImages[] = {
    "img_gvideo1", "img_audio1", "img_ipod", "img_iphone", "img_gphone", "img_appletv", "img_psp",
    "img_xbox",    "img_phone",  "img_win",  "img_pmp",    "img_hd",     "img_animation"};

// The tops of the buttons of a panel shown alone.
constexpr int kSingleTops[] = {-1, 52, 100, 148, 196, 244, 292};

const Panel *panelNamed(const QString &name)
{
    for (const Panel &p : kPanels)
        if (name == QLatin1String(p.name))
            return &p;
    return nullptr;
}

// A sub-panel's button maps to the button that opened the sub-panel.
int openerOf(int number)
{
    if (number >= 102 && number <= 109)
        return 2;
    if (number >= 110 && number <= 117)
        return 3;
    if (number >= 118 && number <= 124)
        return 4;
    if (number >= 125 && number <= 131)
        return 5;
    return number;
}

bool inRange(int n, int first, int last)
{
    return n >= first && n <= last;
}

const QString kVideo2 = QStringLiteral("pl_video2");
const QString kVideo1 = QStringLiteral("pl_video1");
const QString kMain = QStringLiteral("pl_main");

} // namespace

ProfilePicker::Shape ProfilePicker::shapeFor(const QString &exeFileName)
{
    const QString name = exeFileName.toLower();
    const auto has = [&name](const char *keyword) { return name.contains(QLatin1String(keyword)); };
    struct Keyword {
        const char *keyword;
        Kind kind;
        const char *panel;
    };
    // The first keyword that occurs decides, in this order.
    static constexpr Keyword table[] = {
        {"ipod", Kind::Single, "pl_ipod"},     {"psp", Kind::Single, "pl_psp"},
        {"iphone", Kind::Single, "pl_iphone"}, {"3gp", Kind::Single, "pl_phone"},
        {"gphone", Kind::Single, "pl_gphone"}, {"mp3", Kind::Audio, "pl_audio1"},
        {"audio", Kind::Audio, "pl_audio1"},   {"avi", Kind::PlainSingle, "pl_avi"},
        {"mpeg", Kind::PlainSingle, "pl_mpeg"}, {"mp4", Kind::PlainSingle, "pl_mp4"},
        {"mkv", Kind::PlainSingle, "pl_mkv"},  {"wmv", Kind::Closed, ""},
        {"rm", Kind::Closed, ""},              {"flv", Kind::Closed, ""},
    };
    for (const Keyword &k : table)
        if (has(k.keyword))
            return {k.kind, QString::fromLatin1(k.panel)};
    return {};
}

QString ProfilePicker::panelOfButton(int number)
{
    for (const Panel &p : kPanels)
        if (inRange(number, p.first, p.last))
            return QString::fromLatin1(p.name);
    return {};
}

int ProfilePicker::categoryOfPanel(const QString &panel)
{
    const Panel *p = panelNamed(panel);
    return p ? p->category : -1;
}

QString ProfilePicker::subPanelOfOpener(int opener)
{
    switch (opener) {
    case 2: return QStringLiteral("pl_avi");
    case 3: return QStringLiteral("pl_mpeg");
    case 4: return QStringLiteral("pl_mp4");
    case 5: return QStringLiteral("pl_mkv");
    default: return {};
    }
}

QString ProfilePicker::categoryImage(int category)
{
    if (category < 1 || category > 13)
        return {};
    return QString::fromLatin1(kCategoryImages[category - 1]);
}

QString ProfilePicker::categoryPicture(int category)
{
    return category == 1 ? QStringLiteral("img_video1") : categoryImage(category);
}

QStringList ProfilePicker::allPanels()
{
    QStringList names;
    for (const Panel &p : kPanels)
        names << QString::fromLatin1(p.name);
    return names;
}

int ProfilePicker::firstButton(const QString &panel)
{
    const Panel *p = panelNamed(panel);
    return p ? p->first : -1;
}

int ProfilePicker::lastButton(const QString &panel)
{
    const Panel *p = panelNamed(panel);
    return p ? p->last : -1;
}

bool ProfilePicker::takesClick(int n)
{
    return n == 1 || inRange(n, 6, 12) || inRange(n, 15, 97) || inRange(n, 99, 100) ||
           inRange(n, 102, 108) || inRange(n, 110, 116) || inRange(n, 118, 123) ||
           inRange(n, 125, 131);
}

bool ProfilePicker::takesPointer(int n)
{
    return inRange(n, 1, 12) || inRange(n, 15, 97) || inRange(n, 99, 100) ||
           inRange(n, 102, 116) || inRange(n, 118, 131);
}

ProfilePicker::ProfilePicker(Context context) : m_c(std::move(context)) {}

void ProfilePicker::reportMissing(const QString &path)
{
    // One box for the first picture that is missing; a broken installation would
    // otherwise ask for a click per picture.
    if (!m_reportedMissing) {
        m_reportedMissing = true;
        m_c.boxes.error(QStringLiteral("Cannot load the picture \"%1\".").arg(path));
    } else {
        std::fprintf(stderr, "marlo: cannot load the picture \"%s\"\n", qPrintable(path));
    }
}

void ProfilePicker::HideProfilePanels()
{
    m_c.view.placeBackdrop(false, m_c.view.panelRect(kVideo2));
    m_c.view.setPanelVisible(kMain, false);
    for (const Panel &p : kPanels)
        m_c.view.setPanelVisible(QString::fromLatin1(p.name), false);
}

void ProfilePicker::placeBackdrop(bool visible, const QRect &rect)
{
    m_c.view.placeBackdrop(visible, rect);
}

void ProfilePicker::unhighlightButton(int number)
{
    if (m_c.view.panelVisible(kMain))
        placeBackdrop(true, m_c.view.panelRect(inRange(number, 2, 5) ? QStringLiteral("pl_mpeg")
                                                                     : kVideo2));
    if (inRange(number, 2, 5))
        m_c.view.setPanelVisible(subPanelOfOpener(number), false);
    if (!inRange(number, 1, 132))
        return;
    const QString path = m_c.programFolder + QStringLiteral("/images/sub/general/") +
                         QString::number(number) + QStringLiteral(".bmp");
    if (!m_c.view.showButtonPicture(number, path, false))
        reportMissing(path);
}

void ProfilePicker::hoverButton(int number)
{
    const QString path = m_c.programFolder + QStringLiteral("/images/sub/move/") +
                         QString::number(number) + QStringLiteral(".bmp");
    if (!m_c.view.showButtonPicture(number, path, true))
        reportMissing(path);
}

void ProfilePicker::showCategoryHover(int category)
{
    const QString path = m_c.programFolder + QStringLiteral("/images/main/move/") +
                         categoryPicture(category) + QStringLiteral(".bmp");
    if (!m_c.view.showCategoryPicture(category, path, true))
        reportMissing(path);
}

void ProfilePicker::unhighlightCategory(int category)
{
    if (category >= 1 && category <= 13) {
        const QString path = m_c.programFolder + QStringLiteral("/images/main/general/") +
                             categoryPicture(category) + QStringLiteral(".bmp");
        if (!m_c.view.showCategoryPicture(category, path, false))
            reportMissing(path);
        for (const Panel &p : kPanels)
            if (p.category == category && p.first < 102)
                m_c.view.setPanelVisible(QString::fromLatin1(p.name), false);
    }
    placeBackdrop(true, m_c.view.panelRect(kVideo2));
    for (int opener = 2; opener <= 5; ++opener)
        m_c.view.setPanelVisible(subPanelOfOpener(opener), false);
}

void ProfilePicker::openSubPanel(const QString &sub)
{
    const QRect video1 = m_c.view.panelRect(kVideo1);
    const int offset = m_c.leftMoveInt ? m_c.leftMoveInt() : 6;
    m_c.view.movePanel(sub, QPoint(video1.left() + offset, video1.top()));
    m_c.view.setPanelVisible(sub, true);
    m_c.view.raisePanel(sub);
}

void ProfilePicker::pointAtButton(int number)
{
    if (!takesPointer(number))
        return;
    int &highlighted = m_c.state.highlightedButton;
    if (number == 1 || number == 6 || number == 7) {
        if (highlighted == number)
            return;
        highlighted = openerOf(highlighted);
        unhighlightButton(highlighted);
        placeBackdrop(true, m_c.view.panelRect(kVideo2));
        hoverButton(number);
        highlighted = number;
        return;
    }
    if (inRange(number, 2, 5)) {
        if (highlighted == number)
            return;
        highlighted = openerOf(highlighted);
        openSubPanel(subPanelOfOpener(number));
        unhighlightButton(highlighted);
        hoverButton(number);
        highlighted = number;
        if (number == 3 || number == 4)
            m_c.view.setPreviewVisible(true);
        return;
    }
    if (number >= 102) {
        // Coming from the opener, the opener keeps its hover picture.
        const int opener = openerOf(number);
        if (highlighted == opener)
            highlighted = firstButton(subPanelOfOpener(opener));
    }
    if (highlighted == number)
        return;
    unhighlightButton(highlighted);
    hoverButton(number);
    highlighted = number;
}

void ProfilePicker::pointAtCategory(int category)
{
    if (category < 1 || category > 13)
        return;
    if (m_c.profile.currentCategory == category)
        return;
    unhighlightCategory(m_c.profile.currentCategory);
    showCategoryHover(category);
    m_c.profile.currentCategory = category;
    QString panel;
    if (category == 1)
        panel = m_c.state.videoPageFirst ? kVideo1 : kVideo2;
    else if (category == 2)
        panel = m_c.state.audioPageFirst ? QStringLiteral("pl_audio1") : QStringLiteral("pl_audio2");
    else
        for (const Panel &p : kPanels)
            if (p.category == category)
                panel = QString::fromLatin1(p.name);
    m_c.view.setPanelVisible(panel, true);
}

void ProfilePicker::clickButton(int number)
{
    if (!takesClick(number))
        return;
    HideProfilePanels();
    if (m_c.selectProfile)
        m_c.selectProfile(number);
}

int ProfilePicker::mirabelLeft() const
{
    if (m_c.edition.lowerName().contains(QLatin1String("mirabel")))
        return 88;
    return m_c.view.panelRect(kMain).left();
}

void ProfilePicker::makeSingle(const QString &panel, int first, int last)
{
    const QRect r = m_c.view.panelRect(panel);
    m_c.view.movePanel(panel, QPoint(mirabelLeft(), r.top()));
    m_c.view.setPanelFlat(panel, true);
    for (int n = first, i = 0; n <= last && i < int(std::size(kSingleTops)); ++n, ++i)
        m_c.view.moveButton(n, kSingleTops[i]);
}

void ProfilePicker::clickPageButton(const QString &name)
{
    const QString audio1 = QStringLiteral("pl_audio1"), audio2 = QStringLiteral("pl_audio2");
    if (shapeFor(m_c.edition.exeFileName()).kind == Kind::Audio &&
        (name == QLatin1String("Image2") || name == QLatin1String("Image5"))) {
        // The audio edition shows each page alone; the page flag stays.
        const bool second = name == QLatin1String("Image2");
        const QString target = second ? audio2 : audio1;
        makeSingle(target, second ? 22 : 15, second ? 26 : 21);
        HideProfilePanels();
        m_c.view.setPanelVisible(target, true);
        m_c.view.setPanelVisible(second ? audio1 : audio2, false);
        return;
    }
    if (name == QLatin1String("Image94")) {
        m_c.state.videoPageFirst = false;
        m_c.view.setPanelVisible(kVideo2, true);
        m_c.view.setPanelVisible(kVideo1, false);
    } else if (name == QLatin1String("Image93")) {
        m_c.view.setPanelVisible(kVideo1, true);
        m_c.view.setPanelVisible(kVideo2, false);
        m_c.state.videoPageFirst = true;
    } else if (name == QLatin1String("Image2")) {
        m_c.view.setPanelVisible(audio1, false);
        m_c.view.setPanelVisible(audio2, true);
        m_c.state.audioPageFirst = false;
    } else if (name == QLatin1String("Image5")) {
        m_c.view.setPanelVisible(audio1, true);
        m_c.view.setPanelVisible(audio2, false);
        m_c.state.audioPageFirst = true;
    }
}

void ProfilePicker::openPicker()
{
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return;
    }
    const QString name = m_c.edition.lowerName();
    if (!(m_c.previewPlaying && m_c.previewPlaying()) && name.contains(QLatin1String("mirabel")))
        m_c.view.setPreviewVisible(false);

    const Shape shape = shapeFor(name);
    switch (shape.kind) {
    case Kind::Single:
    case Kind::Audio:
        makeSingle(shape.panel, firstButton(shape.panel), lastButton(shape.panel));
        HideProfilePanels();
        m_c.view.setPanelVisible(shape.panel, true);
        if (shape.kind == Kind::Audio)
            m_c.view.setPanelVisible(QStringLiteral("pl_audio2"), false);
        return;
    case Kind::PlainSingle: {
        HideProfilePanels();
        const QRect r = m_c.view.panelRect(shape.panel);
        m_c.view.movePanel(shape.panel, QPoint(mirabelLeft(), r.top()));
        m_c.view.setPanelVisible(shape.panel, true);
        return;
    }
    case Kind::Closed:
        HideProfilePanels();
        return;
    case Kind::General:
        break;
    }

    placeBackdrop(true, m_c.view.panelRect(kVideo2));
    unhighlightCategory(m_c.profile.currentCategory);
    m_c.view.setPanelVisible(kMain, true);
    const int p = m_c.profile.activeProfile;
    const QString panel = panelOfButton(p);
    if (panel.isEmpty())
        return; // no profile yet: only the category column
    int category = categoryOfPanel(panel);
    if (p >= 102) {
        m_c.view.setPanelVisible(kVideo1, true);
        openSubPanel(panel);
        category = 1;
    } else {
        m_c.view.setPanelVisible(panel, true);
    }
    showCategoryHover(category);
    m_c.profile.currentCategory = category;
}

void ProfilePicker::loadAllButtonPictures()
{
    for (int n = 1; n <= 132; ++n)
        unhighlightButton(n);
}

void ProfilePicker::loadCategoryPictures()
{
    for (int k = 1; k <= 13; ++k) {
        const QString path = m_c.programFolder + QStringLiteral("/images/main/general/") +
                             categoryPicture(k) + QStringLiteral(".bmp");
        if (!m_c.view.showCategoryPicture(k, path, false))
            reportMissing(path);
    }
}
