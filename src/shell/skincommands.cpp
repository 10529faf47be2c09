#include "shell/skincommands.h"

#include "core/messageboxes.h"
#include "core/textlookup.h"
#include "shell/skinlayout.h"

#include <QStringList>

namespace
{

// The skin objects that open menus: the menu and its layout section. The objects
// keep the skin's names, so "settings" opens the Edit menu.
struct MenuObject {
    const char *object;
    const char *menu;
    const char *section;
};

constexpr MenuObject kMenus[] = {
    {"help", "zm_pop_help", "help"},           {"file", "zm_popup_file", "file"},
    {"register", "zm_pop_tools", "Tools"},     {"settings", "zm_pop_edit", "Edit"},
    {"purchase", "zm_pop_actions", "actions"},
};

// Objects whose click runs the window's operation of the same name as it stands.
const QStringList &plainObjects()
{
    static const QStringList names = {
        QStringLiteral("cutclose"),      QStringLiteral("profiles"), QStringLiteral("openfiles"),
        QStringLiteral("chapter"),       QStringLiteral("ifoopen"),  QStringLiteral("dvdopen"),
        QStringLiteral("openfolder"),    QStringLiteral("remove"),   QStringLiteral("clear"),
        QStringLiteral("stopconverter"), QStringLiteral("browse"),   QStringLiteral("open"),
        QStringLiteral("play"),          QStringLiteral("stop"),     QStringLiteral("pause"),
        QStringLiteral("begin"),         QStringLiteral("end"),      QStringLiteral("hou"),
        QStringLiteral("qian")};
    return names;
}

} // namespace

SkinCommands::SkinCommands(Context context) : m_c(std::move(context)) {}

void SkinCommands::setAction(const QString &object, Action action)
{
    m_actions.insert(object, std::move(action));
}

void SkinCommands::run(const QString &object)
{
    const auto it = m_actions.constFind(object);
    if (it != m_actions.constEnd() && it.value())
        it.value()();
}

bool SkinCommands::refusedForCut()
{
    if (m_c.previewPlaying && m_c.previewPlaying()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(27));
        return true;
    }
    if (m_c.converting && m_c.converting()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(26));
        return true;
    }
    if (m_c.titleView && !m_c.titleView()) {
        m_c.boxes.warning(m_c.texts.LoadInterfaceString(28));
        return true;
    }
    return false;
}

bool SkinCommands::Skin1Click(const QString &source)
{
    if (source == QLatin1String("mainclose")) {
        // The preview stops first; the close then goes through the close query.
        if (m_c.previewPlaying && m_c.previewPlaying())
            run(QStringLiteral("stop"));
        run(source);
        return true;
    }
    if (source == QLatin1String("converter")) {
        if (!(m_c.converting && m_c.converting()))
            run(source);
        return true;
    }
    if (source == QLatin1String("cutter")) {
        // Only the refusals: what a click that passes them should do is still open.
        refusedForCut();
        return true;
    }
    if (source == QLatin1String("dvdfile")) {
        const QPoint corner = m_c.windowTopLeft ? m_c.windowTopLeft() : QPoint();
        const bool brand =
            m_c.exeFileName && m_c.exeFileName().toLower().contains(QLatin1String("mirabel"));
        if (m_openMenu)
            m_openMenu(QStringLiteral("pop_dvd"),
                       corner + (brand ? QPoint(85, 64) : QPoint(16, 54)));
        return true;
    }
    for (const MenuObject &m : kMenus) {
        if (source == QLatin1String(m.object)) {
            if (m_openMenu)
                m_openMenu(QString::fromLatin1(m.menu),
                           menuPosition(QString::fromLatin1(m.section)));
            return true;
        }
    }
    if (plainObjects().contains(source, Qt::CaseSensitive)) {
        run(source);
        return true;
    }
    return false;
}

QPoint SkinCommands::menuPosition(const QString &section) const
{
    const QPoint corner = m_c.windowTopLeft ? m_c.windowTopLeft() : QPoint();
    return corner + QPoint(m_c.layout.LayoutInt(section, QStringLiteral("left"), 6),
                           m_c.layout.LayoutInt(section, QStringLiteral("top"), 64));
}

std::optional<int> SkinCommands::hoverString(const QString &object)
{
    static const QHash<QString, int> strings = {
        {QStringLiteral("profiles"), 3},       {QStringLiteral("profilestext"), 3},
        {QStringLiteral("openfiles"), 22},     {QStringLiteral("chapter"), 15},
        {QStringLiteral("ifoopen"), 2},        {QStringLiteral("dvdopen"), 1},
        {QStringLiteral("openfolder"), 21},    {QStringLiteral("converter"), 17},
        {QStringLiteral("remove"), 23},        {QStringLiteral("clear"), 24},
        {QStringLiteral("stopconverter"), 18}, {QStringLiteral("browse"), 19},
        {QStringLiteral("open"), 20},          {QStringLiteral("play"), 10},
        {QStringLiteral("stopplay"), 12},      {QStringLiteral("pause"), 11},
        {QStringLiteral("cutter"), 16},        {QStringLiteral("play_bar"), 13},
        {QStringLiteral("play_time"), 14},     {QStringLiteral("audio"), 4},
        {QStringLiteral("subtitle"), 5},       {QStringLiteral("video_size"), 6},
        {QStringLiteral("video_quality"), 7},  {QStringLiteral("audio_quality"), 8},
        {QStringLiteral("channels"), 9},       {QStringLiteral("hint1"), 25},
    };
    const auto it = strings.constFind(object);
    if (it == strings.constEnd())
        return std::nullopt;
    return it.value();
}
