#include "profiles/profilelist.h"

#include <QFile>

ProfileGroup readProfileGroup(const QString &path, int number)
{
    ProfileGroup group;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return group;
    group.opened = true;
    const qint64 sizesLine = 4LL * number - 2; // line 2 of the group, counting from 1
    for (qint64 lineNo = 1; lineNo <= sizesLine + 2; ++lineNo) {
        if (file.atEnd())
            break;
        QByteArray raw = file.readLine();
        if (lineNo < sizesLine)
            continue;
        if (raw.endsWith('\n'))
            raw.chop(1);
        if (raw.endsWith('\r'))
            raw.chop(1);
        const QString line = QString::fromLocal8Bit(raw);
        if (lineNo == sizesLine)
            group.sizes = line;
        else if (lineNo == sizesLine + 1)
            group.videoRates = line;
        else
            group.options = line;
    }
    return group;
}

QStringList splitProfileItems(const QString &line)
{
    QStringList items;
    QString s = line;
    for (;;) {
        const qsizetype blank = s.indexOf(QLatin1Char(' '));
        QString item;
        const bool last = blank < 0;
        if (!last) {
            item = s.left(blank);
            s = s.mid(blank + 1);
        } else {
            item = s.size() >= 2 ? s : QString();
        }
        if (item.isEmpty())
            break;
        items.append(item);
        if (last)
            break;
    }
    return items;
}
