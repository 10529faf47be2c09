#include "core/timetext.h"

namespace
{

// A decimal integer with optional leading blanks and an optional sign, nothing else.
bool pieceToInt(const QString &piece, int32_t &out)
{
    qsizetype i = 0;
    while (i < piece.size() && piece[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < piece.size() && (piece[i] == QLatin1Char('+') || piece[i] == QLatin1Char('-'))) {
        negative = piece[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= piece.size())
        return false;
    int32_t v = 0;
    for (; i < piece.size(); ++i) {
        const QChar c = piece[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
    }
    out = negative ? -v : v;
    return true;
}

} // namespace

QString secondsToTimeText(int32_t seconds)
{
    const int32_t hours = seconds / 3600;
    const int32_t minutes = (seconds - hours * 3600) / 60;
    const int32_t secs = seconds % 60;
    return QString::asprintf("%.2d:%.2d:%.2d", hours, minutes, secs);
}

int32_t timeTextToSeconds(const QString &text)
{
    int32_t h = 0, m = 0, s = 0;
    if (!pieceToInt(text.mid(0, 2), h) || !pieceToInt(text.mid(3, 2), m) ||
        !pieceToInt(text.mid(6, 2), s))
        return 0;
    return h * 3600 + m * 60 + s;
}
