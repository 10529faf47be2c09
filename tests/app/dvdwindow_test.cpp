// The DVD edition through its real window: a VIDEO_TS folder becomes title rows,
// the view switch lists chapters and keeps each view's ticks, and a title converts.
#include "app/converterapp.h"
#include "dvd/dvddiscovery.h"
#include "dvd/dvdtables.h"
#include "dvd/titlelisting.h"
#include "shell/skin/imagebutton.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"

#include "support/testenv.h"
#include "support/windowtesting.h"

#include <QComboBox>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

TEST(DvdWindow, FolderToRowsViewsAndAConvertedTitle)
{
    QTemporaryDir config, output;
    BoxWatcher boxes;
    ConverterApp app(QStringLiteral("marlo-dvd-converter"), testenv::programDir(), config.path());
    MainWindow &w = app.mainWindow();
    w.show();
    QApplication::processEvents();
    w.setText(output.path());

    // The disc's folder dropped on the window goes the way of Add DVD.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(testenv::fixtureDir() + QStringLiteral("/dvd"))});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    JobList &jobs = app.jobs();
    ASSERT_GT(jobs.rowCount(), 0) << boxes.texts.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(w.jobListView()->isVisible());
    const int titles = jobs.rowCount();
    for (int row = 0; row < titles; ++row) {
        EXPECT_TRUE(jobs.caption(row).startsWith(QStringLiteral("Title_"))) << row;
        EXPECT_TRUE(jobs.isChecked(row));
        EXPECT_FALSE(jobs.cell(row, JobList::TimeColumn).isEmpty());
    }
    EXPECT_GE(jobs.firstSelected(), 0);
    EXPECT_FALSE(w.objectText(QStringLiteral("alltime")).isEmpty());

    // The selected row's streams, and a choice that goes into its DVD record.
    auto *audio = w.findChild<QComboBox *>(QStringLiteral("cb_audio"));
    auto *subtitles = w.findChild<QComboBox *>(QStringLiteral("cb_subtitle"));
    ASSERT_TRUE(audio && subtitles);
    EXPECT_TRUE(audio->isVisible());
    const TIFOSelint &file = app.dvdTables().ifoFiles.front();
    const int selected = jobs.firstSelected();
    EXPECT_EQ(audio->count(), file.audioDescs.size());
    EXPECT_EQ(subtitles->count(), file.subPicDescs.size() + 1);
    EXPECT_EQ(subtitles->itemText(0), QStringLiteral("No Subtitle"));
    if (audio->count() > 1) {
        audio->setCurrentIndex(1);
        emit audio->activated(1);
        EXPECT_EQ(jobs.convertInfos()[size_t(selected)].audioId,
                  TitleListing::streamIdOf(file.audioDescs.at(1)));
    }
    if (subtitles->count() > 1) {
        emit subtitles->activated(1);
        EXPECT_EQ(jobs.convertInfos()[size_t(selected)].subtitleId,
                  TitleListing::streamIdOf(file.subPicDescs.at(0)));
    }
    QDir().mkpath(testenv::programDir() + QStringLiteral("/../screenshots"));
    w.grab().save(testenv::programDir() + QStringLiteral("/../screenshots/dvd-titles.png"));

    // Chapters, and back: each view keeps its own ticks.
    jobs.setChecked(0, false);
    QTest::mouseClick(w.jobListView()->viewport(), Qt::LeftButton, {},
                      w.jobListView()->visualRect(w.jobListView()->model()->index(0, 1)).center());
    skin::ImageButton *chapters = w.button(QStringLiteral("bt_chapte"));
    ASSERT_TRUE(chapters->isVisible());
    QTest::mouseClick(chapters, Qt::LeftButton);
    EXPECT_GT(jobs.rowCount(), titles);
    int chapterRows = 0;
    for (int row = 0; row < jobs.rowCount(); ++row)
        chapterRows += jobs.caption(row).startsWith(QStringLiteral("  Chapter_"));
    EXPECT_GT(chapterRows, 0);
    QTest::mouseClick(chapters, Qt::LeftButton);
    ASSERT_EQ(jobs.rowCount(), titles);
    EXPECT_FALSE(jobs.isChecked(0)) << "the title view's ticks came back";

    // Convert only the first title.
    for (int row = 0; row < titles; ++row)
        jobs.setChecked(row, row == 0);
    app.queue().startConversion();
    ASSERT_TRUE(app.queue().converting()) << boxes.texts.join(QLatin1Char('|')).toStdString();
    waitFor([&] { return !app.queue().converting(); }, 120000);
    EXPECT_FALSE(app.queue().converting());
    EXPECT_EQ(jobs.status(0), QStringLiteral("Finish")) << jobs.encoderLines(0).join('\n').toStdString();
    EXPECT_EQ(QDir(output.path()).entryList(QDir::Files).size(), 1);
    w.close();
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
