#include "artworkrenderer.h"

#include "icontheme.h"
#include "profiles/catalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <array>

namespace
{

constexpr std::array kScales = {1, 2};

// The menus' own colours: their image list is drawn on their background.
const QColor kMenuBackground(0xfa, 0xfb, 0xfe); // the menus' own colour
const QColor kMenuIcon(0x23, 0x26, 0x29);
constexpr int kCategorySize = 16;
constexpr int kMenuCell = 16;

// The picker: panels of profile buttons stacked from the top, the first of a
// panel a little higher to leave a margin above it; the category column beside
// them likewise.
constexpr int kPickerButtons = 132; // the last closes the last sub-panel
constexpr int kButtonWidth = 310;
constexpr int kSubPanelButtonWidth = 311;
constexpr int kButtonHeight = 48;
constexpr int kFirstButtonMargin = 5;
constexpr int kCategoryWidth = 153;
constexpr int kCategoryHeight = 25;
constexpr int kFirstCategoryMargin = 2;

// The buttons of the first video page that open a sub-panel beside it, and which.
const QHash<int, QString> kSubPanelOpeners = {{2, QStringLiteral("pl_avi")},
                                              {3, QStringLiteral("pl_mpeg")},
                                              {4, QStringLiteral("pl_mp4")},
                                              {5, QStringLiteral("pl_mkv")}};

// Output formats that carry sound only: a device panel's audio profile shows the
// audio icon rather than its device's.
const QStringList kSoundOnlyExtensions = {
    QStringLiteral(".aac"), QStringLiteral(".ac3"), QStringLiteral(".aiff"),
    QStringLiteral(".amr"), QStringLiteral(".au"),  QStringLiteral(".m4a"),
    QStringLiteral(".mp2"), QStringLiteral(".mp3"), QStringLiteral(".ogg"),
    QStringLiteral(".ra"),  QStringLiteral(".wav"), QStringLiteral(".wma")};

constexpr int kAppIconSize = 64;

struct StateName {
    FaceState state;
    const char *suffix;
};
constexpr std::array kStates = {StateName{FaceState::Normal, ""}, StateName{FaceState::Over, "on"},
                                StateName{FaceState::Down, "down"},
                                StateName{FaceState::Disabled, "D"}};

QString scaledPath(const QString &path, int scale)
{
    if (scale == 1)
        return path;
    const int dot = path.lastIndexOf(u'.');
    return path.left(dot) + QStringLiteral("@%1x").arg(scale) + path.mid(dot);
}

} // namespace

ArtworkRenderer::ArtworkRenderer(const SkinSource &skin, IconTheme &icons, const QString &outDir)
    : m_skin(skin), m_icons(icons), m_faces(skin, icons), m_outDir(outDir)
{
}

bool ArtworkRenderer::renderAll(QString *error)
{
    QStringList names = m_skin.iconNames();
    names.append(kAppMarkIcon);
    names.append(kOpenerIcon);
    for (const QString &name : std::as_const(names)) {
        if (!m_icons.load(name, error))
            return false;
    }
    for (const SkinForm &form : m_skin.forms) {
        if (!renderForm(form, error))
            return false;
    }
    return renderWidgetFaces(error) && renderTitles(error) && renderMenuImages(error) &&
           renderCategoryPictures(error) && renderPickerButtons(error) &&
           renderPickerCategories(error) && renderAppIcon(error) && writeStamp(error);
}

bool ArtworkRenderer::renderForm(const SkinForm &form, QString *error)
{
    const auto paint = [&](QPainter &p) {
        for (const Decor &d : form.decor)
            m_faces.paintDecor(p, d);
    };
    if (!write(form.background, filled(form.size, Qt::transparent), paint, error,
               &m_backgrounds[form.name]))
        return false;
    for (const FaceObject &o : form.objects) {
        const QString base = QStringLiteral("skin/%1/%2").arg(form.name, o.name);
        if (!writeStates(base, QStringLiteral(".png"), form.name, o.rect, o.face, error))
            return false;
    }
    return true;
}

bool ArtworkRenderer::renderWidgetFaces(QString *error)
{
    for (const WidgetFace &w : m_skin.widgetFaces) {
        if (!writeStates(QStringLiteral("images/") + w.name, QStringLiteral(".bmp"),
                         m_skin.mainForm, w.rect, w.face, error))
            return false;
    }
    return true;
}

bool ArtworkRenderer::writeStates(const QString &base, const QString &extension,
                                  const QString &form, const QRect &rect, const Face &face,
                                  QString *error)
{
    for (const StateName &s : kStates) {
        const auto paint = [&](QPainter &p) { m_faces.paintFace(p, face, rect.size(), s.state); };
        if (!write(base + QLatin1String(s.suffix) + extension, cutOf(form, rect), paint, error))
            return false;
    }
    return true;
}

bool ArtworkRenderer::renderTitles(QString *error)
{
    for (const SkinTitle &t : m_skin.titles) {
        const QSize size = m_skin.titleRect.size();
        const auto paint = [&](QPainter &p) { m_faces.paintTitle(p, t.displayName, size); };
        if (!write(QStringLiteral("images/main/%1.bmp").arg(t.executable),
                   cutOf(m_skin.mainForm, m_skin.titleRect), paint, error))
            return false;
    }
    return true;
}

bool ArtworkRenderer::renderMenuImages(QString *error)
{
    const QStringList &icons = m_skin.menuImages;
    const QSize size(kMenuCell * qMax(1, int(icons.size())), kMenuCell);
    const auto paint = [&](QPainter &p) {
        for (int i = 0; i < icons.size(); ++i)
            m_faces.paintIcon(p, icons[i], QRect(i * kMenuCell, 0, kMenuCell, kMenuCell),
                              kMenuIcon);
    };
    return write(QStringLiteral("images/menuimages.bmp"), filled(size, kMenuBackground), paint,
                 error);
}

bool ArtworkRenderer::renderCategoryPictures(QString *error)
{
    // The current category beside the profile: images/main/<category>.bmp, on the
    // card it sits on, in the accent colour.
    const QSize size(kCategorySize, kCategorySize);
    for (int i = 0; i < m_skin.categoryPictures.size(); ++i) {
        const QString icon = m_skin.categoryPictures[i];
        const auto paint = [&](QPainter &p) {
            m_faces.paintIcon(p, icon, QRect(QPoint(0, 0), size),
                              m_skin.color(QStringLiteral("accent")));
        };
        if (!write(QStringLiteral("images/main/%1.bmp").arg(i + 1),
                   filled(size, m_skin.color(QStringLiteral("surface"))), paint, error))
            return false;
    }
    return true;
}

bool ArtworkRenderer::renderPickerButtons(QString *error)
{
    // images/sub/general/N.bmp and images/sub/move/N.bmp (pointer over) for every
    // button; a number without a profile fills the rest of its panel and closes it.
    QHash<int, const CatalogueEntry *> profiles;
    for (const CatalogueEntry &e : catalogue::entries())
        profiles.insert(e.number, &e);
    const QColor surface = m_skin.color(QStringLiteral("surface"));

    QString previousPanel;
    for (int n = 1; n <= kPickerButtons; ++n) {
        const CatalogueEntry *entry = profiles.value(n);
        const QString panel = entry ? QString::fromLatin1(entry->panel) : previousPanel;
        const bool first = panel != previousPanel;
        previousPanel = panel;

        const bool onSubPanel = std::any_of(kSubPanelOpeners.begin(), kSubPanelOpeners.end(),
                                            [&](const QString &sub) { return sub == panel; });
        const QSize size(onSubPanel ? kSubPanelButtonWidth : kButtonWidth,
                         kButtonHeight + (first ? kFirstButtonMargin : 0));
        const QRect band(0, size.height() - kButtonHeight, size.width(), kButtonHeight);

        QString icon;
        if (entry) {
            const bool soundOnly = kSoundOnlyExtensions.contains(catalogue::extension(n).toLower());
            icon = soundOnly ? m_skin.pickerAudioIcon : m_skin.pickerIcons.value(panel);
            if (icon.isEmpty()) {
                *error = QStringLiteral("skn.skn: \"pickerIcons\" has no icon for the panel "
                                        "\"%1\" (profile %2)")
                             .arg(panel)
                             .arg(n);
                return false;
            }
        }
        for (const bool over : {false, true}) {
            const auto paint = [&](QPainter &p) {
                if (entry)
                    m_faces.paintPickerButton(p, band, icon, kSubPanelOpeners.contains(n), over);
            };
            const QString path = QStringLiteral("images/sub/%1/%2.bmp")
                                     .arg(over ? QStringLiteral("move") : QStringLiteral("general"))
                                     .arg(n);
            if (!write(path, filled(size, surface), paint, error))
                return false;
        }
    }
    return true;
}

bool ArtworkRenderer::renderPickerCategories(QString *error)
{
    // images/main/general/<name>.bmp and images/main/move/<name>.bmp (pointer over).
    const QColor window = m_skin.color(QStringLiteral("window"));
    for (int i = 0; i < m_skin.categoryImages.size(); ++i) {
        const bool first = i == 0;
        const QSize size(kCategoryWidth, kCategoryHeight + (first ? kFirstCategoryMargin : 0));
        const QRect band(0, size.height() - kCategoryHeight, size.width(), kCategoryHeight);
        const QString &icon = m_skin.categoryPictures[i];
        for (const bool over : {false, true}) {
            const auto paint = [&](QPainter &p) {
                m_faces.paintPickerCategory(p, band, icon, over);
            };
            const QString path = QStringLiteral("images/main/%1/%2.bmp")
                                     .arg(over ? QStringLiteral("move") : QStringLiteral("general"),
                                          m_skin.categoryImages[i]);
            if (!write(path, filled(size, window), paint, error))
                return false;
        }
    }
    return true;
}

bool ArtworkRenderer::renderAppIcon(QString *error)
{
    const QSize size(kAppIconSize, kAppIconSize);
    return write(
        QStringLiteral("images/marlo.png"), filled(size, Qt::transparent),
        [&](QPainter &p) { m_faces.paintAppIcon(p, size); }, error);
}

bool ArtworkRenderer::writeStamp(QString *error)
{
    QFile stamp(m_outDir + QStringLiteral("/images/.stamp"));
    if (!stamp.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = QStringLiteral("cannot write %1: %2").arg(stamp.fileName(), stamp.errorString());
        return false;
    }
    stamp.write("artwork rendered\n");
    return true;
}

bool ArtworkRenderer::write(const QString &path, const Base &base, const Paint &paint,
                            QString *error, QMap<int, QImage> *keep)
{
    const bool bmp = path.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
    for (const int scale : kScales) {
        QImage image = base(scale);
        {
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                             QPainter::TextAntialiasing);
            paint(p);
        }
        const QString file = QDir(m_outDir).filePath(scaledPath(path, scale));
        if (!QDir().mkpath(QFileInfo(file).absolutePath())) {
            *error = QStringLiteral("cannot make the folder of %1").arg(file);
            return false;
        }
        // The image buttons' BMPs are plain 24-bit pictures.
        const QImage out = bmp ? image.convertToFormat(QImage::Format_RGB888) : image;
        if (!out.save(file, bmp ? "BMP" : "PNG")) {
            *error = QStringLiteral("cannot write %1").arg(file);
            return false;
        }
        if (keep)
            keep->insert(scale, image);
    }
    return true;
}

ArtworkRenderer::Base ArtworkRenderer::cutOf(const QString &form, const QRect &rect) const
{
    return [this, form, rect](int scale) {
        const QImage background = m_backgrounds.value(form).value(scale);
        return background.copy(QRect(rect.topLeft() * scale, rect.size() * scale));
    };
}

ArtworkRenderer::Base ArtworkRenderer::filled(QSize size, const QColor &color)
{
    return [size, color](int scale) {
        QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(color);
        return image;
    };
}
