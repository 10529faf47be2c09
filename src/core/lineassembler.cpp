#include "core/lineassembler.h"

#include <utility>

namespace
{
constexpr char32_t kNul = 0;
constexpr char32_t kBel = 7;
constexpr char32_t kBackspace = 8;
constexpr char32_t kTab = 9;
constexpr char32_t kLineFeed = 10;
constexpr char32_t kCarriageReturn = 13;
constexpr int kTabWidth = 8;
} // namespace

LineAssembler::LineAssembler(LineHandler onLine, LineHandler onCompleted)
    : m_onLine(std::move(onLine)), m_onCompleted(std::move(onCompleted))
{
}

void LineAssembler::finish()
{
    if (m_line.empty())
        return;
    const QString line = currentLine();
    m_line.clear();
    m_cursor = 0;
    if (m_onCompleted)
        m_onCompleted(line);
}

void LineAssembler::feed(QByteArrayView piece)
{
    if (piece.isEmpty())
        return;
    // The decoder keeps the first bytes of a character cut off at the end of the
    // piece and completes it with the next one.
    const QString text = m_decoder.decode(piece);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        switch (c) {
        case kNul:
        case kBel:
            write(U' ');
            break;
        case kBackspace:
            if (m_cursor > 0)
                --m_cursor;
            break;
        case kTab:
            for (int k = 0; k < kTabWidth; ++k)
                write(U' ');
            break;
        case kLineFeed: {
            const QString line = currentLine();
            m_line.clear();
            m_cursor = 0;
            if (m_onLine)
                m_onLine(line);
            if (m_onCompleted)
                m_onCompleted(line);
            break;
        }
        case kCarriageReturn:
            m_cursor = 0;
            break;
        default:
            write(c);
            break;
        }
    }
    if (m_onLine)
        m_onLine(currentLine());
}

QString LineAssembler::currentLine() const
{
    return QString::fromUcs4(m_line.data(), static_cast<qsizetype>(m_line.size()));
}

void LineAssembler::write(char32_t c)
{
    if (m_cursor < m_line.size())
        m_line[m_cursor] = c;
    else
        m_line.push_back(c);
    ++m_cursor;
}
