#include "shell/skin/skindefinition.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace skin
{

const ObjectDef *FormDef::find(const QString &name) const
{
    for (const ObjectDef &o : objects)
        if (o.name == name)
            return &o;
    return nullptr;
}

const FormDef *SkinDef::form(const QString &name) const
{
    for (const FormDef &f : forms)
        if (f.name == name)
            return &f;
    return nullptr;
}

namespace
{

struct Reader {
    QHash<QString, QColor> palette;
    QString error;

    bool fail(const QString &why)
    {
        if (error.isEmpty())
            error = why;
        return false;
    }

    std::optional<QRect> rect(const QJsonValue &v, const QString &where)
    {
        const QJsonArray a = v.toArray();
        if (a.size() != 4) {
            fail(where + QStringLiteral(": a rectangle needs four numbers"));
            return std::nullopt;
        }
        for (const QJsonValue &n : a)
            if (!n.isDouble()) {
                fail(where + QStringLiteral(": a rectangle needs four numbers"));
                return std::nullopt;
            }
        const QRect r(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
        if (r.width() < 0 || r.height() < 0 || r.width() > 10000 || r.height() > 10000) {
            fail(where + QStringLiteral(": a rectangle has an impossible size"));
            return std::nullopt;
        }
        return r;
    }

    QColor color(const QJsonValue &v, const QString &where)
    {
        if (v.isUndefined() || v.isNull())
            return {};
        const QString s = v.toString();
        if (palette.contains(s))
            return palette.value(s);
        const QColor c = QColor::fromString(s);
        if (!c.isValid())
            fail(where + QStringLiteral(": \"%1\" is not a colour").arg(s));
        return c;
    }

    static Qt::Alignment alignment(const QString &s)
    {
        Qt::Alignment a;
        for (const QString &part : s.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            if (part == QLatin1String("left"))
                a |= Qt::AlignLeft;
            else if (part == QLatin1String("right"))
                a |= Qt::AlignRight;
            else if (part == QLatin1String("center"))
                a |= Qt::AlignCenter;
            else if (part == QLatin1String("top"))
                a |= Qt::AlignTop;
            else if (part == QLatin1String("bottom"))
                a |= Qt::AlignBottom;
            else if (part == QLatin1String("vcenter"))
                a |= Qt::AlignVCenter;
        }
        if (!(a & Qt::AlignVertical_Mask))
            a |= Qt::AlignVCenter;
        if (!(a & Qt::AlignHorizontal_Mask))
            a |= Qt::AlignLeft;
        return a;
    }

    bool object(const QJsonObject &o, const QString &form, ObjectDef &d)
    {
        static const QHash<QString, ObjectKind> kinds = {
            {QStringLiteral("text"), ObjectKind::Text},     {QStringLiteral("button"), ObjectKind::Button},
            {QStringLiteral("image"), ObjectKind::Image},   {QStringLiteral("bar"), ObjectKind::Bar},
            {QStringLiteral("slider"), ObjectKind::Slider}, {QStringLiteral("panel"), ObjectKind::Panel},
            {QStringLiteral("region"), ObjectKind::Region}};
        d.name = o.value(QStringLiteral("name")).toString();
        const QString where = form + QLatin1Char('/') + d.name;
        if (d.name.isEmpty())
            return fail(form + QStringLiteral(": an object without a name"));
        const QString kind = o.value(QStringLiteral("kind")).toString();
        if (!kinds.contains(kind))
            return fail(where + QStringLiteral(": unknown kind \"%1\"").arg(kind));
        d.kind = kinds.value(kind);
        const auto r = rect(o.value(QStringLiteral("rect")), where);
        if (!r)
            return false;
        d.rect = *r;
        d.parent = o.value(QStringLiteral("parent")).toString();
        d.visible = o.value(QStringLiteral("visible")).toBool(true);
        d.text = o.value(o.contains(QStringLiteral("caption")) ? QStringLiteral("caption")
                                                                 : QStringLiteral("text"))
                     .toString();
        if (o.contains(QStringLiteral("captionRect"))) {
            const auto c = rect(o.value(QStringLiteral("captionRect")), where);
            if (!c)
                return false;
            d.captionRect = *c;
        }
        d.hasFace = o.value(QStringLiteral("face")).isObject();
        d.picture = o.value(QStringLiteral("picture")).toString();
        d.frame = o.value(QStringLiteral("frame")).toString();
        const QJsonObject font = o.value(QStringLiteral("font")).toObject();
        d.fontSize = std::clamp(font.value(QStringLiteral("size")).toInt(12), 6, 72);
        d.bold = font.value(QStringLiteral("bold")).toBool(false);
        d.color = color(o.value(QStringLiteral("color")), where);
        d.fill = color(o.value(QStringLiteral("fill")), where);
        d.border = color(o.value(QStringLiteral("border")), where);
        d.track = color(o.value(QStringLiteral("track")), where);
        d.thumb = color(o.value(QStringLiteral("thumb")), where);
        d.radius = std::clamp(o.value(QStringLiteral("radius")).toInt(0), 0, 100);
        d.align = alignment(o.value(QStringLiteral("align")).toString());
        const QString elide = o.value(QStringLiteral("elide")).toString();
        d.elide = elide == QLatin1String("right")    ? Qt::ElideRight
                  : elide == QLatin1String("middle") ? Qt::ElideMiddle
                  : elide == QLatin1String("left")   ? Qt::ElideLeft
                                                     : Qt::ElideNone;
        d.wrap = o.value(QStringLiteral("wrap")).toBool(false);
        if (!d.color.isValid())
            d.color = QColor(0x1f, 0x23, 0x28);
        return error.isEmpty();
    }
};

} // namespace

std::optional<SkinDef> parseSkin(const QByteArray &json, QString *error)
{
    Reader reader;
    const auto failed = [&](const QString &why) -> std::optional<SkinDef> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull())
        return failed(QStringLiteral("not a skin file: %1 at offset %2")
                          .arg(parseError.errorString())
                          .arg(parseError.offset));
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String("marlo-skin"))
        return failed(QStringLiteral("not a skin file: no \"format\": \"marlo-skin\""));
    const QJsonObject palette = root.value(QStringLiteral("palette")).toObject();
    for (auto it = palette.begin(); it != palette.end(); ++it) {
        const QColor c = QColor::fromString(it.value().toString());
        if (!c.isValid())
            return failed(QStringLiteral("palette: \"%1\" is not a colour").arg(it.key()));
        reader.palette.insert(it.key(), c);
    }
    SkinDef skin;
    skin.defaultForm = root.value(QStringLiteral("defaultForm")).toString();
    skin.font = root.value(QStringLiteral("font")).toString(QStringLiteral("DejaVu Sans"));
    for (const QJsonValue &fv : root.value(QStringLiteral("forms")).toArray()) {
        const QJsonObject f = fv.toObject();
        FormDef form;
        form.name = f.value(QStringLiteral("name")).toString();
        if (form.name.isEmpty())
            return failed(QStringLiteral("a form without a name"));
        const int w = f.value(QStringLiteral("width")).toInt();
        const int h = f.value(QStringLiteral("height")).toInt();
        if (w <= 0 || h <= 0 || w > 10000 || h > 10000)
            return failed(form.name + QStringLiteral(": impossible size"));
        form.size = QSize(w, h);
        form.background = f.value(QStringLiteral("background")).toString();
        if (f.contains(QStringLiteral("dragArea"))) {
            const auto r = reader.rect(f.value(QStringLiteral("dragArea")), form.name);
            if (!r)
                return failed(reader.error);
            form.dragArea = *r;
        }
        for (const QJsonValue &ov : f.value(QStringLiteral("objects")).toArray()) {
            ObjectDef d;
            if (!reader.object(ov.toObject(), form.name, d))
                return failed(reader.error);
            if (form.find(d.name))
                return failed(form.name + QStringLiteral(": two objects named \"%1\"").arg(d.name));
            form.objects.push_back(d);
        }
        for (const ObjectDef &d : form.objects)
            if (!d.parent.isEmpty() && !form.find(d.parent))
                return failed(form.name + QLatin1Char('/') + d.name +
                              QStringLiteral(": no parent \"%1\"").arg(d.parent));
        skin.forms.push_back(std::move(form));
    }
    if (skin.forms.empty())
        return failed(QStringLiteral("the skin has no forms"));
    if (skin.defaultForm.isEmpty())
        skin.defaultForm = skin.forms.front().name;
    if (!skin.form(skin.defaultForm))
        return failed(QStringLiteral("no default form \"%1\"").arg(skin.defaultForm));
    return skin;
}

std::optional<SkinDef> readSkinFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // A skin file is a few kilobytes; anything huge is not one.
    if (file.size() > 4 * 1024 * 1024) {
        if (error)
            *error = QStringLiteral("%1 is too large for a skin file").arg(path);
        return std::nullopt;
    }
    return parseSkin(file.readAll(), error);
}

} // namespace skin
