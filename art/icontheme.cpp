#include "icontheme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>

namespace
{

// Where the monochrome icons of the roles we use live; every other folder of
// the theme is searched after these.
const QStringList kPreferredDirs = {QStringLiteral("actions/22"), QStringLiteral("actions/32"),
                                    QStringLiteral("places/22"), QStringLiteral("devices/22"),
                                    QStringLiteral("mimetypes/22")};

// The text colour of the theme's light scheme, which its monochrome icons are drawn in.
const QString kThemeText = QStringLiteral("#232629");

// Below this the theme's drawings are simplified sketches, not worth enlarging.
constexpr int kSmallestDrawing = 16;

QStringList coloursIn(const QString &svg)
{
    static const QRegularExpression hex(
        QStringLiteral("#(?:[0-9a-fA-F]{6}|[0-9a-fA-F]{3})(?![0-9a-zA-Z_-])"));
    QStringList colours;
    for (const QRegularExpressionMatch &m : hex.globalMatch(svg))
        colours.append(m.captured().toLower());
    colours.removeDuplicates();
    return colours;
}

// Colours the theme's colour-scheme classes declare (text, highlight, negative...):
// an icon drawn only in those is still a one-colour icon of the theme.
QStringList schemeColoursIn(const QString &svg)
{
    static const QRegularExpression role(
        QStringLiteral("\\.ColorScheme-[\\w-]+\\s*\\{\\s*color\\s*:\\s*(#[0-9a-fA-F]{6})"));
    QStringList colours;
    for (const QRegularExpressionMatch &m : role.globalMatch(svg))
        colours.append(m.captured(1).toLower());
    return colours;
}

} // namespace

IconTheme::IconTheme(const QString &root) : m_root(root), m_dirs(kPreferredDirs)
{
    const QDir dir(root);
    for (const QString &context : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        for (const QString &size :
             QDir(dir.filePath(context)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            // The @2x folders repeat the same drawings.
            const QString sub = context + u'/' + size;
            if (!size.contains(u'@') && !m_dirs.contains(sub))
                m_dirs.append(sub);
        }
    }
}

bool IconTheme::load(const QString &name, QString *error)
{
    if (m_icons.contains(name))
        return true;
    std::vector<Variant> variants;
    QSet<QString> seen;
    for (const QString &dir : std::as_const(m_dirs)) {
        for (const QString &file : {name, name + QStringLiteral("-symbolic")}) {
            const QString path = QStringLiteral("%1/%2/%3.svg").arg(m_root, dir, file);
            const QString real = QFileInfo(path).canonicalFilePath();
            if (real.isEmpty() || seen.contains(real))
                continue;
            seen.insert(real);
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                *error = QStringLiteral("icon \"%1\": cannot read %2: %3")
                             .arg(name, path, f.errorString());
                return false;
            }
            Variant v;
            v.path = path;
            v.svg = f.readAll();
            const QSvgRenderer renderer(v.svg);
            if (!renderer.isValid()) {
                *error = QStringLiteral("icon \"%1\": %2 is not a valid SVG file").arg(name, path);
                return false;
            }
            v.designSize = renderer.defaultSize().width();
            const QString text = QString::fromUtf8(v.svg);
            const QStringList colours = coloursIn(text);
            const QStringList scheme = schemeColoursIn(text);
            v.monochrome = colours.size() <= 1 ||
                           std::all_of(colours.begin(), colours.end(),
                                       [&](const QString &c) { return scheme.contains(c); });
            v.colours = v.monochrome ? colours : QStringList{kThemeText};
            variants.push_back(std::move(v));
        }
    }
    if (variants.empty()) {
        *error = QStringLiteral("icon \"%1\" not found in the icon theme %2 (searched %3 and "
                                "every other size)")
                     .arg(name, m_root, kPreferredDirs.join(QStringLiteral(", ")));
        return false;
    }
    m_icons.insert(name, std::move(variants));
    return true;
}

IconTheme::Choice IconTheme::choose(const QString &name, int size) const
{
    // The theme's drawings keep their lines on whole pixels only at the size they
    // are made for or a whole multiple of it. So the largest such size that fits is
    // used, centred, when it is close to the box; a drawing made for that very size
    // wins over an enlarged one.
    const std::vector<Variant> &variants = m_icons.find(name).value();
    const Variant *best = nullptr, *mono = nullptr;
    int bestSize = 0;
    for (const Variant &v : variants) {
        if (!v.monochrome || v.designSize <= 0)
            continue;
        if (!mono)
            mono = &v;
        if (v.designSize < kSmallestDrawing && v.designSize != size)
            continue;
        const int fit = size / v.designSize * v.designSize;
        if (fit > bestSize || (fit == bestSize && best && v.designSize > best->designSize)) {
            best = &v;
            bestSize = fit;
        }
    }
    if (best && bestSize * 5 >= size * 4)
        return {*best, bestSize};
    return {mono ? *mono : variants.front(), size};
}

void IconTheme::paint(QPainter &p, const QString &name, const QRectF &box,
                      const QColor &color) const
{
    const int size = qRound(qMin(box.width(), box.height()));
    const Choice choice = choose(name, size);
    const Variant &v = choice.variant;
    QString text = QString::fromUtf8(v.svg);
    const QString hex = color.name(QColor::HexRgb);
    for (const QString &c : v.colours)
        text.replace(c, hex, Qt::CaseInsensitive);
    if (v.monochrome)
        text.replace(QStringLiteral("currentColor"), hex);

    // Whole-pixel offsets, so a smaller drawing sits on the pixel grid too.
    const QPointF centre = box.center();
    const QRectF area(qFloor(centre.x() - choice.drawSize / 2.0),
                      qFloor(centre.y() - choice.drawSize / 2.0), choice.drawSize, choice.drawSize);
    QSvgRenderer renderer(text.toUtf8());
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    p.save();
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    renderer.render(&p, area);
    p.restore();
}

QStringList IconTheme::multiColoured() const
{
    QStringList names;
    for (auto it = m_icons.begin(); it != m_icons.end(); ++it) {
        if (!std::any_of(it->begin(), it->end(), [](const Variant &v) { return v.monochrome; }))
            names.append(it.key());
    }
    names.sort();
    return names;
}
