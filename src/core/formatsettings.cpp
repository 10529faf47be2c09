#include "core/formatsettings.h"

namespace
{

int strictInt(const QString &text)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok ? v : 0;
}

} // namespace

FormatSettings::FormatSettings()
{
    setDesignedItems();
}

void FormatSettings::setDesignedItems()
{
    const QStringList qualities = {QStringLiteral("Higher Quality"), QStringLiteral("High Quality"),
                                   QStringLiteral("Normal"), QStringLiteral("Low Quality"),
                                   QStringLiteral("Lower Quality")};
    setQualityItems(qualities, qualities);
    setChannelItems({QStringLiteral(" Mono"), QStringLiteral("Stereo")});
    finishItems = {QStringLiteral("Do nothing after conversion finished"),
                   QStringLiteral("Open the target folder after conversion finished"),
                   QStringLiteral("Automatically shut down after conversion finished")};
}

void FormatSettings::setQualityItems(const QStringList &video, const QStringList &audio)
{
    cb_videobitrate.clear();
    for (const QString &s : video)
        cb_videobitrate.addItem(s);
    cb_audiobitrate.clear();
    for (const QString &s : audio)
        cb_audiobitrate.addItem(s);
}

void FormatSettings::setChannelItems(const QStringList &channels)
{
    cb_channel.clear();
    for (const QString &s : channels)
        cb_channel.addItem(s);
    cb_channel.setSelected(1);
}

int pictureWidth(const QString &text)
{
    const qsizetype x = text.indexOf(QLatin1Char('x'));
    if (x < 0)
        return 0;
    return strictInt(text.left(x));
}

int pictureHeight(const QString &text)
{
    const qsizetype x = text.indexOf(QLatin1Char('x'));
    if (x < 0)
        return 0;
    QString rest = text.mid(x + 1);
    const qsizetype paren = rest.indexOf(QLatin1Char('('));
    if (paren >= 0)
        rest = rest.left(paren);
    return strictInt(rest);
}
