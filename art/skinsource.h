#pragma once

#include <QColor>
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the artwork is made from: the colours, shapes and faces of skn.skn and
// the places of the image buttons in Skin.ini.

enum class FaceStyle {
    Tool,
    Media,
    Primary,
    Danger,
    Secondary,
    TitleMenu,
    TitleButton,
    TitleClose,
    SwitchOn,
    SwitchOff
};

struct Face {
    FaceStyle style = FaceStyle::Secondary;
    QString icon; // empty: no icon
};

// One item of a form's decor: a filled and/or bordered box, or a recoloured icon.
struct Decor {
    QRect rect;
    QColor fill; // invalid: none
    QColor border;
    int radius = 0;
    QString icon;
    QColor iconColor;
};

struct FaceObject {
    QString name;
    QRect rect;
    Face face;
};

struct SkinForm {
    QString name;
    QSize size;
    QString background; // below the program folder
    std::vector<Decor> decor;
    std::vector<FaceObject> objects; // only the objects that have a face
};

struct WidgetFace {
    QString name; // letter case kept: it is the picture's name
    QRect rect;
    Face face;
};

struct SkinTitle {
    QString executable;
    QString displayName;
};

struct SkinSource {
    QString font;
    QString mainForm; // the window the image buttons and the title sit on
    QHash<QString, QColor> palette;
    std::vector<SkinForm> forms;
    std::vector<WidgetFace> widgetFaces;
    std::vector<SkinTitle> titles;
    QRect titleRect; // [Title] of Skin.ini, 24 pixels high
    QStringList menuImages;
    QStringList categoryPictures; // icons of the profile categories 1, 2, ...
    // The picker's category column: picture names of the categories 1, 2, ..., each
    // drawn with the icon of its category.
    QStringList categoryImages;
    QHash<QString, QString> pickerIcons; // the icon of a picker panel's buttons, by panel
    QString pickerAudioIcon;             // for the sound-only profiles of the device panels

    QColor color(const QString &key) const { return palette.value(key); }
    const SkinForm *form(const QString &name) const;
    QStringList iconNames() const;
};

// Reads skn.skn and Skin.ini; on failure, nothing and a reason in `error`.
std::optional<SkinSource> readSkinSource(const QString &sknPath, const QString &iniPath,
                                         QString *error);
