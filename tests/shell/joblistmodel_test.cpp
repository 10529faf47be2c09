#include "shell/joblistmodel.h"

#include "core/joblist.h"

#include <QAbstractItemModelTester>

#include <gtest/gtest.h>

namespace
{

struct ModelFixture : ::testing::Test {
    JobList jobs;
    JobListModel model{jobs};
    // Fails the test on any change announced out of order or any inconsistent answer.
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    QString text(int row, int column) const { return model.index(row, column).data().toString(); }
};

} // namespace

TEST_F(ModelFixture, FollowsEveryChangeOfTheJobList)
{
    for (const char *caption : {"a", "b", "c"})
        jobs.appendRow(QString::fromLatin1(caption));
    ASSERT_EQ(model.rowCount(), 3);
    jobs.setCell(1, JobList::SizeColumn, QStringLiteral("320x240"));
    jobs.setStatus(2, QStringLiteral("42.00%"));
    EXPECT_EQ(text(1, 1), QStringLiteral("320x240"));
    EXPECT_EQ(text(2, 4), QStringLiteral("42.00%"));

    jobs.removeRow(0);
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(text(0, 0), QStringLiteral("b"));
    EXPECT_EQ(text(0, 1), QStringLiteral("320x240"));

    // The captions of the chapter view start with blanks; they are shown as they are.
    jobs.appendRow(QStringLiteral("  Chapter_1"));
    EXPECT_EQ(text(2, 0), QStringLiteral("  Chapter_1"));

    jobs.clearRows();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ModelFixture, CheckMarksGoBackToTheJobList)
{
    jobs.appendRow(QStringLiteral("a"));
    const QModelIndex caption = model.index(0, 0);
    EXPECT_TRUE(model.flags(caption) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(caption.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    ASSERT_TRUE(model.setData(caption, Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(jobs.isChecked(0));
    EXPECT_FALSE(model.setData(model.index(0, 4), QStringLiteral("x"), Qt::EditRole));
    jobs.setChecked(0, true);
    EXPECT_EQ(caption.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
}

TEST_F(ModelFixture, AFailedRowTellsWhyInItsStatusCell)
{
    jobs.appendRow(QStringLiteral("broken"));
    jobs.appendRow(QStringLiteral("good"));
    for (int row : {0, 1}) {
        jobs.addEncoderLine(row, QStringLiteral("broken.avi: Invalid data found"));
        jobs.setExitCode(row, row == 0 ? 1 : 0);
    }
    jobs.setFailed(0, true);
    jobs.setStatus(0, QStringLiteral("Failed"));
    const QString why = model.index(0, 4).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(why.contains(QStringLiteral("Invalid data found")));
    EXPECT_TRUE(why.contains(QStringLiteral("Exit code 1")));
    EXPECT_FALSE(model.index(1, 4).data(Qt::ToolTipRole).isValid());
    EXPECT_FALSE(model.index(0, 0).data(Qt::ToolTipRole).isValid());
}

TEST_F(ModelFixture, HeaderCaptionsCanBeReplaced)
{
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("File Name"));
    EXPECT_TRUE(model.setHeaderData(4, Qt::Horizontal, QStringLiteral("Zustand")));
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Zustand"));
    EXPECT_FALSE(model.setHeaderData(5, Qt::Horizontal, QStringLiteral("x")));
}
