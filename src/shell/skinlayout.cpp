#include "shell/skinlayout.h"

#include "core/edition.h"
#include "core/textlookup.h"

#include <QFileInfo>

namespace
{

const QString kLeft = QStringLiteral("Left");
const QString kTop = QStringLiteral("Top");
const QString kWidth = QStringLiteral("Width");
const QString kHeight = QStringLiteral("Height");
const QString kVisible = QStringLiteral("Visible");
constexpr int kDefault = 6;

// How the layout pass treats a button's section.
enum class Kind {
    PlaceAndPictures,         // bt_dvdopen, bt_ifo: never hidden by the file
    PlacePicturesVisible,     // Visible defaults to 1
    VisibleOnly,              // bt_set: Visible (0); place and pictures stay the form's
    PlacePicturesHidden,      // bt_back: Visible defaults to 0
    PlaceVisibleThenPictures, // the merge buttons
};

struct ButtonSection {
    const char *name;
    Kind kind;
};

constexpr ButtonSection kButtons[] = {
    {"bt_dvdopen", Kind::PlaceAndPictures},          {"bt_ifo", Kind::PlaceAndPictures},
    {"bt_remove", Kind::PlacePicturesVisible},       {"bt_clear", Kind::PlacePicturesVisible},
    {"bt_chapte", Kind::PlacePicturesVisible},       {"bt_set", Kind::VisibleOnly},
    {"bt_playpause", Kind::PlacePicturesVisible},    {"bt_back", Kind::PlacePicturesHidden},
    {"bt_play", Kind::PlacePicturesVisible},         {"bt_next", Kind::PlacePicturesVisible},
    {"bt_playstop", Kind::PlacePicturesVisible},     {"bt_cut", Kind::PlacePicturesVisible},
    {"bt_images", Kind::PlacePicturesVisible},       {"bt_start", Kind::PlacePicturesVisible},
    {"bt_pause", Kind::PlacePicturesVisible},        {"Bt_Convertstop", Kind::PlacePicturesVisible},
    {"bt_mergeyse", Kind::PlaceVisibleThenPictures}, {"bt_mergeno", Kind::PlaceVisibleThenPictures},
};

} // namespace

SkinLayout::SkinLayout(QString programFolder)
    : m_programFolder(std::move(programFolder)),
      m_ini(m_programFolder + QStringLiteral("/Skin.ini"))
{
}

bool SkinLayout::exists() const
{
    return QFileInfo(m_ini.path()).isFile();
}

int SkinLayout::LayoutInt(const QString &section, const QString &key, int def) const
{
    return m_ini.readInt(section, key, def);
}

QString SkinLayout::LayoutText(const QString &section, const QString &key, const QString &def) const
{
    return m_ini.readString(section, key, def);
}

QString SkinLayout::picture(const QString &section, const QString &suffix) const
{
    return m_programFolder + QStringLiteral("/images/") + section + suffix + QStringLiteral(".bmp");
}

QRect SkinLayout::rectOf(const QString &section, int heightDefault) const
{
    return QRect(LayoutInt(section, kLeft, kDefault), LayoutInt(section, kTop, kDefault),
                 LayoutInt(section, kWidth, kDefault), LayoutInt(section, kHeight, heightDefault));
}

QPoint SkinLayout::pointOf(const QString &section) const
{
    return QPoint(LayoutInt(section, kLeft, kDefault), LayoutInt(section, kTop, kDefault));
}

std::optional<SkinLayout::Plan> SkinLayout::plan(const Edition &edition,
                                                 const TextLookup &texts) const
{
    if (!exists())
        return std::nullopt;
    Plan p;
    for (const ButtonSection &b : kButtons) {
        Button button;
        button.name = QString::fromLatin1(b.name);
        if (b.kind != Kind::VisibleOnly)
            button.rect = rectOf(button.name);
        switch (b.kind) {
        case Kind::PlaceAndPictures:
            break;
        case Kind::PlacePicturesVisible:
            button.visible = LayoutInt(button.name, kVisible, 1) != 0;
            break;
        case Kind::VisibleOnly:
            button.visible = LayoutInt(button.name, kVisible, 0) != 0;
            button.hasPictures = false;
            break;
        case Kind::PlacePicturesHidden:
            button.visible = LayoutInt(button.name, kVisible, 0) != 0;
            break;
        case Kind::PlaceVisibleThenPictures:
            button.visible = LayoutInt(button.name, kVisible, 1) != 0;
            button.picturesAfterVisible = true;
            break;
        }
        if (button.hasPictures) {
            button.normalPicture = picture(button.name, QString());
            button.overPicture = picture(button.name, QStringLiteral("on"));
            button.disabledPicture = picture(button.name, QStringLiteral("D"));
        }
        p.buttons.push_back(button);
    }

    const auto comboPlace = [this](const QString &section) {
        return QRect(pointOf(section), QSize(LayoutInt(section, kWidth, kDefault), 0));
    };
    p.cbAudio = comboPlace(QStringLiteral("cb_audio"));
    p.cbSubtitle = comboPlace(QStringLiteral("cb_subtitle"));
    p.leftMoveInt =
        LayoutInt(QStringLiteral("Leftmoveint"), QStringLiteral("Leftmoveint"), kDefault);
    p.edOutput = rectOf(QStringLiteral("ed_output"), 15);
    p.panel1 = pointOf(QStringLiteral("Panel1"));
    p.plMain = pointOf(QStringLiteral("pl_main"));
    p.plLeft = LayoutInt(QStringLiteral("pl_main"), QStringLiteral("plleft"), kDefault);
    p.plTop = LayoutInt(QStringLiteral("pltop"), QStringLiteral("pltop"), kDefault);
    p.plPlay = rectOf(QStringLiteral("pl_play"));
    const QString lv = QStringLiteral("lv");
    p.lv =
        QRect(LayoutInt(lv, kLeft, kDefault), LayoutInt(lv, kTop, kDefault),
              LayoutInt(lv, kWidth, kDefault), LayoutInt(lv, QStringLiteral("height"), kDefault));
    p.firstColumnCaption = texts.LookUpText(QStringLiteral("Caption"), QStringLiteral("Title"),
                                            QStringLiteral("Title"));

    const QString titlePicture = m_programFolder + QStringLiteral("/images/main/") +
                                 edition.exeBaseName() + QStringLiteral(".bmp");
    if (QFileInfo(titlePicture).isFile()) {
        const QString section = QStringLiteral("Title");
        p.title = QRect(LayoutInt(section, kLeft, kDefault), LayoutInt(section, kTop, 5),
                        LayoutInt(section, kWidth, 5), 24);
        p.titlePicture = titlePicture;
    }
    return p;
}
