// Renders the skin's pictures at build time from skn.skn, Skin.ini and an SVG
// icon theme, so no picture has to be kept in the repository.

#include "artworkrenderer.h"
#include "icontheme.h"
#include "skinsource.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        err << "usage: marlo_art <skn.skn> <Skin.ini> <output folder> <icon theme folder>\n";
        return 2;
    }

    QString error;
    const std::optional<SkinSource> skin = readSkinSource(args[1], args[2], &error);
    IconTheme icons(args[4]);
    if (!skin || !ArtworkRenderer(*skin, icons, args[3]).renderAll(&error)) {
        err << "marlo_art: " << error << '\n';
        return 1;
    }
    for (const QString &name : icons.multiColoured())
        err << "marlo_art: note: icon \"" << name << "\" exists only in colour; drawn as it is\n";
    return 0;
}
