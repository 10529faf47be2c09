#include "core/joblist.h"

#include <gtest/gtest.h>

TEST(JobList, RemovingShiftsRecordsWithTheirRows)
{
    JobList jobs;
    for (const char *name : {"a", "b", "c", "d"}) {
        const int row = jobs.appendRow(QString::fromLatin1(name));
        jobs.originalInfo(row).sourcePath = QStringLiteral("/src/") + QString::fromLatin1(name);
        jobs.convertInfos()[size_t(row)].beginSector = row * 100;
    }
    jobs.removeRow(0);
    jobs.removeRow(0);
    ASSERT_EQ(jobs.rowCount(), 2);
    EXPECT_EQ(jobs.caption(0), QStringLiteral("c"));
    EXPECT_EQ(jobs.originalInfo(0).sourcePath, QStringLiteral("/src/c"));
    EXPECT_EQ(jobs.originalInfo(1).sourcePath, QStringLiteral("/src/d"));
    EXPECT_EQ(jobs.convertInfos()[1].beginSector, 300);
    // The records are never shrunk.
    EXPECT_EQ(jobs.originalInfos().size(), 4u);
}

TEST(JobList, NewRowDoesNotInheritRecordsOfARemovedRow)
{
    JobList jobs;
    jobs.appendRow(QStringLiteral("a"));
    const int b = jobs.appendRow(QStringLiteral("b"));
    jobs.originalInfo(b).sourcePath = QStringLiteral("/src/b");
    jobs.convertInfos()[size_t(b)].audioId = QStringLiteral("0x81");
    jobs.removeRow(b);
    const int c = jobs.appendRow(QStringLiteral("c"));
    EXPECT_TRUE(jobs.originalInfo(c).sourcePath.isEmpty());
    EXPECT_TRUE(jobs.convertInfos()[size_t(c)].audioId.isEmpty());
}

TEST(JobList, ClearKeepsRecords)
{
    JobList jobs;
    const int row = jobs.appendRow(QStringLiteral("a"));
    jobs.originalInfo(row).durationText = QStringLiteral("00:00:10");
    jobs.clearRows();
    EXPECT_TRUE(jobs.isEmpty());
    EXPECT_EQ(jobs.originalInfos().at(0).durationText, QStringLiteral("00:00:10"));
}
