#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

// An SVG icon theme in the freedesktop layout (<context>/<size>/<name>.svg).
// Icons are drawn as vectors in one colour: the theme's own colour is replaced
// in the SVG text before it is rendered, so the result is sharp at any scale.
class IconTheme
{
public:
    explicit IconTheme(const QString &root);

    // Finds and reads every file the theme has for `name`; false and a reason
    // when there is none.
    bool load(const QString &name, QString *error);

    // Draws a loaded icon recoloured into `box`: at the largest size its drawings
    // are sharp at that still fills most of the box, centred.
    void paint(QPainter &p, const QString &name, const QRectF &box, const QColor &color) const;

    // Loaded icons the theme has only in several colours; they are drawn as they are.
    QStringList multiColoured() const;

private:
    struct Variant {
        QString path;
        QByteArray svg;
        int designSize = 0; // the pixel size the file is drawn for
        bool monochrome = false;
        QStringList colours; // the colours to replace when recolouring
    };

    struct Choice {
        const Variant &variant;
        int drawSize; // may be below the box's size, then centred in it
    };
    Choice choose(const QString &name, int size) const;

    QString m_root;
    QStringList m_dirs; // in the order they are searched
    QHash<QString, std::vector<Variant>> m_icons;
};
