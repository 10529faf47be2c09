#include "core/commandline.h"

#include <cmath>

QString quoteIfBlank(const QString &text)
{
    const bool hasBlank = text.contains(QLatin1Char(' '));
    const bool hasQuote = text.contains(QLatin1Char('"'));
    if (!hasBlank && !hasQuote)
        return text;
    QString out = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (c == QLatin1Char('"')) {
            out += QString(backslashes * 2 + 1, QLatin1Char('\\'));
            out += c;
        } else {
            out += QString(backslashes, QLatin1Char('\\'));
            out += c;
        }
        backslashes = 0;
    }
    // Backslashes before the closing quote would escape it: double them.
    out += QString(backslashes * 2, QLatin1Char('\\'));
    out += QLatin1Char('"');
    return out;
}

QStringList splitCommandLine(const QString &commandLine)
{
    QStringList args;
    QString current;
    bool inQuotes = false;
    qsizetype backslashes = 0;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        if (c == QLatin1Char('"')) {
            current += QString(backslashes / 2, QLatin1Char('\\'));
            if (backslashes % 2 == 1)
                current += c;
            else
                inQuotes = !inQuotes;
            backslashes = 0;
            continue;
        }
        current += QString(backslashes, QLatin1Char('\\'));
        backslashes = 0;
        if (c == QLatin1Char(' ') && !inQuotes) {
            if (!current.isEmpty())
                args.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    current += QString(backslashes, QLatin1Char('\\'));
    if (!current.isEmpty())
        args.append(current);
    return args;
}

QString buildCommandLine(const intputrec &r)
{
    return quoteIfBlank(r.encoderPath) + QStringLiteral(" -y ") + QStringLiteral(" -i ") +
           quoteIfBlank(r.inputPath) + r.videoRateArg + r.audioRateArg + r.channelsArg +
           r.aspectArg + r.sizeArg + QStringLiteral(" ") + r.sampleRateArg + r.profileOptions +
           QStringLiteral(" ") + QStringLiteral(" -sn ") + quoteIfBlank(r.outputPath);
}

QString discRootOf(const QString &ifoPath)
{
    const qsizetype slash = ifoPath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    const QString folder = ifoPath.left(slash);
    const qsizetype parentSlash = folder.lastIndexOf(QLatin1Char('/'));
    const QString folderName = folder.mid(parentSlash + 1);
    if (folderName.compare(QLatin1String("video_ts"), Qt::CaseInsensitive) != 0)
        return folder.isEmpty() ? QStringLiteral("/") : folder;
    const QString root = folder.left(parentSlash < 0 ? 0 : parentSlash);
    return root.isEmpty() && parentSlash == 0 ? QStringLiteral("/") : root;
}

QString dvdInputText(const TConvertInfo &info, const TDvdRange &range)
{
    const QString fileName = info.ifoPath.mid(info.ifoPath.lastIndexOf(QLatin1Char('/')) + 1);
    return QStringLiteral("vts://") + fileName.mid(4, 2) + QLatin1Char('*') +
           QString::number(range.beginSector) + QLatin1Char('*') +
           QString::number(range.endSector) + QLatin1Char('*') + info.audioId + QLatin1Char('*') +
           info.subtitleId + QStringLiteral("*/") + discRootOf(info.ifoPath);
}

int64_t roundHalfEven(double v)
{
    return int64_t(std::nearbyint(v)); // the default rounding mode is to nearest, ties to even
}

QString outputSizeText(int32_t kbps, int32_t seconds)
{
    // A 64-bit product: long sources at high rates overflow 32 bits.
    const double x = double(int64_t(kbps) * int64_t(seconds)) / 8.0 / 1024.0 * 1000.0 / 1024.0;
    const double fiveDigits = QString::number(x, 'g', 5).toDouble();
    return QString::number(fiveDigits, 'f', 2) + QStringLiteral("MB");
}
