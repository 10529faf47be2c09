#pragma once

#include "facepainter.h"
#include "skinsource.h"

#include <QHash>
#include <QImage>
#include <QMap>
#include <QString>

#include <functional>

class IconTheme;

// Writes every picture of the skin below the program folder, each at scale 1
// and, with "@2x" before the extension, drawn anew at scale 2.
class ArtworkRenderer
{
public:
    ArtworkRenderer(const SkinSource &skin, IconTheme &icons, const QString &outDir);

    bool renderAll(QString *error);

private:
    // The picture a drawing starts from, at a scale: a cut of a background or a colour.
    using Base = std::function<QImage(int scale)>;
    using Paint = std::function<void(QPainter &)>;

    bool renderForm(const SkinForm &form, QString *error);
    bool renderWidgetFaces(QString *error);
    bool renderTitles(QString *error);
    bool renderMenuImages(QString *error);
    bool renderCategoryPictures(QString *error);
    bool renderPickerButtons(QString *error);
    bool renderPickerCategories(QString *error);
    bool renderAppIcon(QString *error);
    bool writeStamp(QString *error);

    // The four state pictures of a face: <base>, <base>on, <base>down, <base>D.
    bool writeStates(const QString &base, const QString &extension, const QString &form,
                     const QRect &rect, const Face &face, QString *error);
    // Draws one picture at both scales and saves it as `path` (PNG or BMP by its
    // extension); the drawings are kept when `keep` is given.
    bool write(const QString &path, const Base &base, const Paint &paint, QString *error,
               QMap<int, QImage> *keep = nullptr);
    Base cutOf(const QString &form, const QRect &rect) const;
    static Base filled(QSize size, const QColor &color);

    const SkinSource &m_skin;
    IconTheme &m_icons;
    FacePainter m_faces;
    QString m_outDir;
    QHash<QString, QMap<int, QImage>> m_backgrounds; // by form and scale
};
