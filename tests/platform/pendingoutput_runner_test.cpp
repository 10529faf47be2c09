#include "platform/pendingoutput.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <vector>

namespace
{

// Pieces of the given sizes with contents that tell them apart, and all of them
// joined, so that what is kept can be compared with the tail of what was sent.
struct Stream {
    std::vector<QByteArray> pieces;
    QByteArray all;
};

Stream makeStream(const std::vector<qsizetype> &sizes)
{
    Stream s;
    int n = 0;
    for (const qsizetype size : sizes) {
        QByteArray piece(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            piece[i] = static_cast<char>((n * 131 + i) & 0xff);
        ++n;
        s.pieces.push_back(piece);
        s.all += piece;
    }
    return s;
}

std::vector<qsizetype> repeat(qsizetype size, int times, std::vector<qsizetype> after = {})
{
    std::vector<qsizetype> sizes(static_cast<size_t>(times), size);
    sizes.insert(sizes.end(), after.begin(), after.end());
    return sizes;
}

TEST(PendingOutput, KeepsUpTo128KiBThenStartsAfresh)
{
    const struct {
        const char *name;
        std::vector<qsizetype> sizes;
        bool dropped;
        qsizetype kept; // the newest bytes that wait
    } cases[] = {
        {"a few pieces", {10, 1024, 300}, false, 1334},
        {"64 KiB", repeat(1024, 64), false, 65536},
        {"a piece beyond 64 KiB still doubles", repeat(1024, 64, {1000}), false, 65536 + 1000},
        {"exactly 128 KiB", repeat(1024, 128), false, 131072},
        {"one piece more drops the rest", repeat(1024, 128, {1024}), true, 1024},
        {"collection goes on after the drop", repeat(1024, 128, {700, 1024, 5}), true, 1729},
        {"a small piece that does not fit drops too", {131000, 100}, true, 100},
        {"a second drop", repeat(1024, 300), true, (300 - 256) * 1024},
    };
    for (const auto &c : cases) {
        const Stream s = makeStream(c.sizes);
        PendingOutput pending;
        bool allKept = true;
        for (const QByteArray &piece : s.pieces)
            allKept = pending.append(piece.constData(), piece.size()) && allKept;
        EXPECT_EQ(!allKept, c.dropped) << c.name;
        EXPECT_LE(pending.size(), 128 * 1024) << c.name;
        const QByteArray taken = pending.takeAll();
        EXPECT_EQ(taken.size(), c.kept) << c.name;
        EXPECT_TRUE(s.all.endsWith(taken)) << c.name;
        EXPECT_TRUE(pending.isEmpty()) << c.name;
    }
}

TEST(PendingOutput, TakingMakesRoomAgain)
{
    const Stream s = makeStream(repeat(1024, 200));
    PendingOutput pending;
    QByteArray received;
    // The user-interface thread keeps up: every tenth piece it takes what waits.
    for (size_t i = 0; i < s.pieces.size(); ++i) {
        EXPECT_TRUE(pending.append(s.pieces[i].constData(), s.pieces[i].size()));
        if (i % 10 == 9)
            received += pending.takeAll();
    }
    received += pending.takeAll();
    EXPECT_EQ(received, s.all);
}

} // namespace
