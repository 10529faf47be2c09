#pragma once

#include <QColor>
#include <QHash>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What a skin file says: its forms, each with a background picture and named
// objects. The file is JSON; pictures and colours are named there, the drawing is
// the engine's.
namespace skin
{

enum class ObjectKind { Text, Button, Image, Bar, Slider, Panel, Region };

struct ObjectDef {
    QString name;
    ObjectKind kind = ObjectKind::Region;
    QRect rect;
    QString parent;  // drawn only while this object is shown
    bool visible = true;
    QString text;    // text objects: the starting text; buttons: the caption
    QRect captionRect; // relative to the object; empty: the whole object
    bool hasFace = false; // pictures skin/<form>/<name>{,on,down,D}.png
    QString picture;      // image objects
    QString frame;        // "minimize": the engine's own frame function
    int fontSize = 12;    // pixels
    bool bold = false;
    QColor color;         // text colour
    QColor fill, border, track, thumb;
    int radius = 0;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::TextElideMode elide = Qt::ElideNone;
    bool wrap = false;
};

struct FormDef {
    QString name;
    QSize size;
    QString background; // below the program folder
    QRect dragArea;     // dragging here moves the window
    std::vector<ObjectDef> objects;
    const ObjectDef *find(const QString &name) const;
};

struct SkinDef {
    QString defaultForm;
    QString font;
    std::vector<FormDef> forms;
    const FormDef *form(const QString &name) const;
};

// Reads a skin file; on failure, nothing and a reason in `error`.
std::optional<SkinDef> readSkinFile(const QString &path, QString *error);
std::optional<SkinDef> parseSkin(const QByteArray &json, QString *error);

} // namespace skin
