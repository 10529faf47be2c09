#include "skinsource.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>

namespace
{

// The palette entries the faces are painted with; a skin without them is unusable.
const QStringList kFaceColours = {
    QStringLiteral("window"),        QStringLiteral("surface"), QStringLiteral("border"),
    QStringLiteral("text"),          QStringLiteral("accent"),  QStringLiteral("accentHover"),
    QStringLiteral("accentPressed"), QStringLiteral("danger"),  QStringLiteral("dangerHover"),
    QStringLiteral("titleText"),     QStringLiteral("muted")};

const QHash<QString, FaceStyle> kStyles = {
    {QStringLiteral("tool"), FaceStyle::Tool},
    {QStringLiteral("media"), FaceStyle::Media},
    {QStringLiteral("primary"), FaceStyle::Primary},
    {QStringLiteral("danger"), FaceStyle::Danger},
    {QStringLiteral("secondary"), FaceStyle::Secondary},
    {QStringLiteral("titlemenu"), FaceStyle::TitleMenu},
    {QStringLiteral("titlebutton"), FaceStyle::TitleButton},
    {QStringLiteral("titleclose"), FaceStyle::TitleClose},
    {QStringLiteral("switchon"), FaceStyle::SwitchOn},
    {QStringLiteral("switchoff"), FaceStyle::SwitchOff},
};

// Reads one file's values; the first problem found is kept with the place it was found.
class Reader
{
public:
    Reader(const QString &file, QString *error) : m_file(file), m_error(error) {}

    bool fail(const QString &where, const QString &what)
    {
        if (m_error)
            *m_error = QStringLiteral("%1: %2: %3").arg(m_file, where, what);
        return false;
    }

    bool rect(const QJsonValue &value, const QString &where, QRect *out)
    {
        const QJsonArray a = value.toArray();
        if (a.size() != 4 || !a[0].isDouble() || !a[1].isDouble() || !a[2].isDouble() ||
            !a[3].isDouble() || a[2].toInt() < 0 || a[3].toInt() < 0)
            return fail(where, QStringLiteral("\"rect\" must be [x, y, width, height]"));
        *out = QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        return true;
    }

    bool color(const QHash<QString, QColor> &palette, const QJsonValue &value, const QString &where,
               QColor *out)
    {
        const QString text = value.toString();
        if (palette.contains(text)) {
            *out = palette.value(text);
            return true;
        }
        const QColor c(text);
        if (!text.startsWith(u'#') || !c.isValid())
            return fail(where,
                        QStringLiteral("\"%1\" is neither a palette colour nor #rrggbb").arg(text));
        *out = c;
        return true;
    }

    bool face(const QJsonValue &value, const QString &where, Face *out)
    {
        const QJsonObject o = value.toObject();
        const QString style = o.value(QStringLiteral("style")).toString();
        if (!kStyles.contains(style))
            return fail(where, QStringLiteral("unknown face style \"%1\"").arg(style));
        out->style = kStyles.value(style);
        out->icon = o.value(QStringLiteral("icon")).toString();
        return true;
    }

    int intValue(QSettings &ini, const QString &section, const QString &key, bool *ok)
    {
        const QVariant v = ini.value(section + u'/' + key);
        bool isNumber = false;
        const int n = v.toString().trimmed().toInt(&isNumber);
        if (!isNumber && *ok)
            *ok = fail(QStringLiteral("[%1]").arg(section),
                       QStringLiteral("%1 is missing or not a number").arg(key));
        return n;
    }

private:
    QString m_file;
    QString *m_error;
};

bool readDecor(Reader &r, const SkinSource &skin, const QJsonObject &o, const QString &where,
               Decor *d)
{
    if (!r.rect(o.value(QStringLiteral("rect")), where, &d->rect))
        return false;
    d->radius = o.value(QStringLiteral("radius")).toInt();
    d->icon = o.value(QStringLiteral("icon")).toString();
    for (auto [key, slot] : {std::pair{"fill", &d->fill}, std::pair{"border", &d->border}}) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isUndefined() && !r.color(skin.palette, v, where, slot))
            return false;
    }
    if (!d->icon.isEmpty()) {
        const QJsonValue v = o.value(QStringLiteral("color"));
        d->iconColor = skin.color(QStringLiteral("text"));
        if (!v.isUndefined() && !r.color(skin.palette, v, where, &d->iconColor))
            return false;
    }
    if (!d->fill.isValid() && !d->border.isValid() && d->icon.isEmpty())
        return r.fail(where, QStringLiteral("needs a \"fill\", a \"border\" or an \"icon\""));
    return true;
}

bool readForm(Reader &r, const SkinSource &skin, const QJsonObject &o, SkinForm *form)
{
    form->name = o.value(QStringLiteral("name")).toString();
    const QString where = QStringLiteral("form \"%1\"").arg(form->name);
    form->size =
        QSize(o.value(QStringLiteral("width")).toInt(), o.value(QStringLiteral("height")).toInt());
    form->background = o.value(QStringLiteral("background")).toString();
    if (form->name.isEmpty() || form->size.isEmpty() || form->background.isEmpty())
        return r.fail(where, QStringLiteral("needs a name, a width, a height and a background"));

    const QJsonArray decor = o.value(QStringLiteral("decor")).toArray();
    for (qsizetype i = 0; i < decor.size(); ++i) {
        Decor d;
        if (!readDecor(r, skin, decor[i].toObject(),
                       QStringLiteral("%1, decor %2").arg(where).arg(i), &d))
            return false;
        form->decor.push_back(d);
    }

    const QRect bounds(QPoint(0, 0), form->size);
    for (const QJsonValue &v : o.value(QStringLiteral("objects")).toArray()) {
        const QJsonObject obj = v.toObject();
        if (!obj.contains(QStringLiteral("face")))
            continue;
        FaceObject f;
        f.name = obj.value(QStringLiteral("name")).toString();
        const QString at = QStringLiteral("%1, object \"%2\"").arg(where, f.name);
        if (f.name.isEmpty())
            return r.fail(at, QStringLiteral("an object with a face needs a name"));
        if (!r.rect(obj.value(QStringLiteral("rect")), at, &f.rect) ||
            !r.face(obj.value(QStringLiteral("face")), at, &f.face))
            return false;
        // Its pictures are cut from the background, so they must lie on it.
        if (f.rect.isEmpty() || !bounds.contains(f.rect))
            return r.fail(at, QStringLiteral("its rect must be inside the form"));
        form->objects.push_back(f);
    }
    return true;
}

bool readSkinFile(const QString &path, SkinSource *skin, QString *error)
{
    Reader r(path, error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return r.fail(QStringLiteral("cannot read"), file.errorString());
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject())
        return r.fail(QStringLiteral("offset %1").arg(parseError.offset),
                      doc.isNull() ? parseError.errorString()
                                   : QStringLiteral("not a JSON object"));
    const QJsonObject root = doc.object();

    skin->font = root.value(QStringLiteral("font")).toString(QStringLiteral("DejaVu Sans"));
    const QJsonObject palette = root.value(QStringLiteral("palette")).toObject();
    for (auto it = palette.begin(); it != palette.end(); ++it) {
        const QColor c(it.value().toString());
        if (!c.isValid())
            return r.fail(QStringLiteral("palette"),
                          QStringLiteral("\"%1\" is not a colour").arg(it.key()));
        skin->palette.insert(it.key(), c);
    }
    for (const QString &key : kFaceColours) {
        if (!skin->palette.contains(key))
            return r.fail(QStringLiteral("palette"), QStringLiteral("\"%1\" is missing").arg(key));
    }

    for (const QJsonValue &v : root.value(QStringLiteral("forms")).toArray()) {
        SkinForm form;
        if (!readForm(r, *skin, v.toObject(), &form))
            return false;
        skin->forms.push_back(std::move(form));
    }
    skin->mainForm = root.value(QStringLiteral("defaultForm")).toString();
    if (!skin->form(skin->mainForm))
        return r.fail(QStringLiteral("defaultForm"),
                      QStringLiteral("no form is called \"%1\"").arg(skin->mainForm));

    const QJsonObject faces = root.value(QStringLiteral("widgetFaces")).toObject();
    for (auto it = faces.begin(); it != faces.end(); ++it) {
        WidgetFace w;
        w.name = it.key();
        const QString where = QStringLiteral("widget face \"%1\"").arg(w.name);
        const QJsonObject o = it.value().toObject();
        if (!r.face(o, where, &w.face))
            return false;
        // No rect here: Skin.ini gives the place, filled in below.
        if (o.contains(QStringLiteral("rect")) &&
            !r.rect(o.value(QStringLiteral("rect")), where, &w.rect))
            return false;
        skin->widgetFaces.push_back(w);
    }

    const QJsonObject titles = root.value(QStringLiteral("titles")).toObject();
    for (auto it = titles.begin(); it != titles.end(); ++it)
        skin->titles.push_back({it.key(), it.value().toString()});

    for (const QJsonValue &v : root.value(QStringLiteral("menuImages")).toArray())
        skin->menuImages.append(v.toString());
    for (const QJsonValue &v : root.value(QStringLiteral("categoryPictures")).toArray())
        skin->categoryPictures.append(v.toString());
    if (skin->categoryPictures.contains(QString()))
        return r.fail(QStringLiteral("categoryPictures"),
                      QStringLiteral("an entry is not an icon name"));
    for (const QJsonValue &v : root.value(QStringLiteral("categoryImages")).toArray())
        skin->categoryImages.append(v.toString());
    if (skin->categoryImages.contains(QString()))
        return r.fail(QStringLiteral("categoryImages"),
                      QStringLiteral("an entry is not a picture name"));
    if (skin->categoryImages.size() > skin->categoryPictures.size())
        return r.fail(QStringLiteral("categoryImages"),
                      QStringLiteral("more categories than \"categoryPictures\" has icons"));

    const QJsonObject picker = root.value(QStringLiteral("pickerIcons")).toObject();
    for (auto it = picker.begin(); it != picker.end(); ++it) {
        const QString icon = it.value().toString();
        if (icon.isEmpty())
            return r.fail(QStringLiteral("pickerIcons"),
                          QStringLiteral("\"%1\" is not an icon name").arg(it.key()));
        if (it.key() == QLatin1String("audio"))
            skin->pickerAudioIcon = icon;
        else
            skin->pickerIcons.insert(it.key(), icon);
    }
    if (skin->pickerAudioIcon.isEmpty())
        return r.fail(QStringLiteral("pickerIcons"), QStringLiteral("\"audio\" is missing"));
    if (skin->menuImages.contains(QString()))
        return r.fail(QStringLiteral("menuImages"), QStringLiteral("an entry is not an icon name"));
    return true;
}

bool readLayoutFile(const QString &path, SkinSource *skin, QString *error)
{
    Reader r(path, error);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return r.fail(QStringLiteral("cannot read"), file.errorString());
    file.close();
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        return r.fail(QStringLiteral("cannot read"), QStringLiteral("not an INI file"));

    bool ok = true;
    const auto place = [&](const QString &section, bool withHeight) {
        return QRect(r.intValue(ini, section, QStringLiteral("Left"), &ok),
                     r.intValue(ini, section, QStringLiteral("Top"), &ok),
                     r.intValue(ini, section, QStringLiteral("Width"), &ok),
                     withHeight ? r.intValue(ini, section, QStringLiteral("Height"), &ok) : 24);
    };
    for (WidgetFace &w : skin->widgetFaces) {
        if (w.rect.isNull())
            w.rect = place(w.name, true);
    }
    skin->titleRect = place(QStringLiteral("Title"), false);
    if (!ok)
        return false;

    const QRect bounds(QPoint(0, 0), skin->form(skin->mainForm)->size);
    for (const WidgetFace &w : skin->widgetFaces) {
        if (w.rect.isEmpty() || !bounds.contains(w.rect))
            return r.fail(QStringLiteral("[%1]").arg(w.name),
                          QStringLiteral("the button must lie inside the main form"));
    }
    if (skin->titleRect.isEmpty() || !bounds.contains(skin->titleRect))
        return r.fail(QStringLiteral("[Title]"), QStringLiteral("must lie inside the main form"));
    return true;
}

} // namespace

const SkinForm *SkinSource::form(const QString &name) const
{
    for (const SkinForm &f : forms) {
        if (f.name == name)
            return &f;
    }
    return nullptr;
}

QStringList SkinSource::iconNames() const
{
    QStringList names = menuImages + categoryPictures + pickerIcons.values();
    names.append(pickerAudioIcon);
    for (const SkinForm &f : forms) {
        for (const Decor &d : f.decor)
            names.append(d.icon);
        for (const FaceObject &o : f.objects)
            names.append(o.face.icon);
    }
    for (const WidgetFace &w : widgetFaces)
        names.append(w.face.icon);
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

std::optional<SkinSource> readSkinSource(const QString &sknPath, const QString &iniPath,
                                         QString *error)
{
    SkinSource skin;
    if (!readSkinFile(sknPath, &skin, error) || !readLayoutFile(iniPath, &skin, error))
        return std::nullopt;
    return skin;
}
