#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <functional>
#include <string>

// Turns the encoder's console output into lines the way a console shows them:
// a carriage return goes back to the start of the line, so a progress line the
// encoder rewrites in place is reported again and again. The bytes are UTF-8; a
// character split between two pieces is put together again.
//
// For each character: NUL and BEL become a blank and then count as ordinary; an
// ordinary character overwrites the line at the cursor or extends it and moves
// the cursor right; backspace moves the cursor left, not below 0; tab writes
// eight blanks; line feed completes the line (reported, then line and cursor
// start afresh); carriage return moves the cursor to 0 and keeps the line, so a
// shorter new text leaves the tail of the old one. At the end of each piece the
// unfinished line is reported too, and stays current.
//
// The second handler hears each line once, when it is complete: at its line feed,
// or at finish() for a last line without one. Pieces cut anywhere, so it is the
// one to keep lines by.
class LineAssembler
{
public:
    using LineHandler = std::function<void(const QString &line)>;

    explicit LineAssembler(LineHandler onLine, LineHandler onCompleted = {});

    // An empty piece changes nothing and reports nothing.
    void feed(QByteArrayView piece);

    // The output has ended: an unfinished line counts as complete.
    void finish();

    QString currentLine() const;
    int cursor() const { return static_cast<int>(m_cursor); }

private:
    void write(char32_t c);

    LineHandler m_onLine;
    LineHandler m_onCompleted;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    std::u32string m_line;
    std::size_t m_cursor = 0;
};
