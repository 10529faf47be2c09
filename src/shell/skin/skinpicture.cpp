#include "shell/skin/skinpicture.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace skin
{

QString doubleSizeName(const QString &path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash)
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

QPixmap loadPicture(const QString &path)
{
    if (path.isEmpty())
        return {};
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0) {
        const QString big = doubleSizeName(path);
        if (QFileInfo(big).isFile()) {
            QPixmap p(big);
            if (!p.isNull()) {
                p.setDevicePixelRatio(2.0);
                return p;
            }
        }
    }
    return QPixmap(path);
}

} // namespace skin
