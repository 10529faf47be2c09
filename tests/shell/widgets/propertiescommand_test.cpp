#include "shell/widgets/propertiescommand.h"

#include "core/joblist.h"
#include "shell/widgets/propertiesdialog.h"
#include "support/fakes.h"

#include "modalrun.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace
{

using Fields = std::map<QString, QString>;

const Toriginalinfo kAvi{.sourcePath = QStringLiteral("/videos/a.avi"),
                         .resolution = QStringLiteral("640x480"),
                         .durationText = QStringLiteral("00:01:30"),
                         .unused = {},
                         .videoBitrate = QStringLiteral("1200"),
                         .audioBitrate = QStringLiteral("128"),
                         .videoFormat = QStringLiteral("mpeg4"),
                         .audioFormat = QStringLiteral("mp3"),
                         .sampleRate = QStringLiteral("44100"),
                         .channels = QStringLiteral("2"),
                         .frameRate = QStringLiteral("25.00")};
const Toriginalinfo kMp4{.sourcePath = QStringLiteral("/videos/b.mp4"),
                         .resolution = QStringLiteral("1280x720"),
                         .durationText = QStringLiteral("00:42:07"),
                         .unused = {},
                         .videoBitrate = QStringLiteral("2500"),
                         .audioBitrate = QStringLiteral("192"),
                         .videoFormat = QStringLiteral("h264"),
                         .audioFormat = QStringLiteral("aac"),
                         .sampleRate = QStringLiteral("48000"),
                         .channels = QStringLiteral("6"),
                         .frameRate = QStringLiteral("23.98")};
const Toriginalinfo kDvdTitle{}; // DVD rows leave the facts empty

const Fields kMp4Fields{
    {"ed_duration", "00:42:07"},   {"ed_videobit", "2500 Kb/s"}, {"ed_videoformat", "h264"},
    {"ed_resolution", "1280x720"}, {"ed_frame", "23.98"},        {"ed_audioformat", "aac"},
    {"ed_audiobit", "192 Kb/s"},   {"ed_sample", "48000"},       {"ed_channels", "6"},
};
const Fields kAviFields{
    {"ed_duration", "00:01:30"},  {"ed_videobit", "1200 Kb/s"}, {"ed_videoformat", "mpeg4"},
    {"ed_resolution", "640x480"}, {"ed_frame", "25.00"},        {"ed_audioformat", "mp3"},
    {"ed_audiobit", "128 Kb/s"},  {"ed_sample", "44100"},       {"ed_channels", "2"},
};
const Fields kEmptyFields{
    {"ed_duration", ""},      {"ed_videobit", " Kb/s"}, {"ed_videoformat", ""},
    {"ed_resolution", ""},    {"ed_frame", ""},         {"ed_audioformat", ""},
    {"ed_audiobit", " Kb/s"}, {"ed_sample", ""},        {"ed_channels", ""},
};

Fields fieldsOf(const PropertiesDialog &dialog)
{
    Fields out;
    for (const QLineEdit *field : dialog.findChildren<QLineEdit *>())
        out[field->objectName()] = field->text();
    return out;
}

class PropertiesCommandTest : public ::testing::Test
{
public:
    void addRows(const std::vector<Toriginalinfo> &infos)
    {
        for (const Toriginalinfo &info : infos)
            jobs.originalInfo(jobs.appendRow(info.sourcePath)) = info;
    }

    // The command with a stand-in for the modal showing, which records what it shows.
    PropertiesCommand recordingCommand()
    {
        return PropertiesCommand({jobs, boxes, texts, dialog},
                                 [this](PropertiesDialog &shownDialog) {
                                     EXPECT_EQ(&shownDialog, &dialog);
                                     shown.push_back(fieldsOf(shownDialog));
                                 });
    }

    JobList jobs;
    RecordingBoxes boxes;
    FakeTexts texts;
    PropertiesDialog dialog;
    std::vector<Fields> shown;
};

TEST_F(PropertiesCommandTest, ShowsTheFirstSelectedRow)
{
    struct Case {
        const char *name;
        std::vector<Toriginalinfo> rows;
        std::vector<int> selected;
        Fields expected;
    };
    const Case cases[] = {
        {"two rows selected", {kAvi, kMp4, kAvi}, {1, 2}, kMp4Fields},
        {"the first and last selected", {kAvi, kMp4, kMp4}, {2, 0}, kAviFields},
        {"a DVD row: empty facts, the units still shown", {kAvi, kDvdTitle}, {1}, kEmptyFields},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        jobs.clearRows();
        shown.clear();
        addRows(c.rows);
        for (int row : c.selected)
            jobs.setSelected(row, true);

        recordingCommand().Properties1Click();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown.front(), c.expected);
        EXPECT_TRUE(boxes.calls.isEmpty());
    }
}

TEST_F(PropertiesCommandTest, WithoutASelectedRowTellsSoAndShowsNoDialog)
{
    struct Case {
        const char *name;
        std::vector<Toriginalinfo> rows;
    };
    const Case cases[] = {{"an empty list", {}}, {"rows, none selected", {kAvi, kMp4}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        jobs.clearRows();
        boxes.calls.clear();
        addRows(c.rows);

        recordingCommand().Properties1Click();
        EXPECT_EQ(boxes.calls, QStringList{QStringLiteral("information: string 30")});
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(PropertiesCommandTest, AFailedRowShowsWhyAndTheNextRowDoesNot)
{
    addRows({kAvi, kMp4});
    jobs.addEncoderLine(0, QStringLiteral("Unknown encoder 'libxvid'"));
    jobs.addEncoderLine(0, QStringLiteral("Error while opening encoder for output stream #0:0"));
    jobs.setExitCode(0, 1);
    jobs.setFailed(0, true);
    const auto *failure = dialog.findChild<QPlainTextEdit *>(QStringLiteral("ed_failure"));
    const auto *label = dialog.findChild<QLabel *>(QStringLiteral("lb_failure"));
    ASSERT_TRUE(failure && label);

    struct Step {
        int row;
        QString reason; // empty: no failure field
    };
    const Step steps[] = {
        {0, QStringLiteral("Unknown encoder 'libxvid'\n"
                           "Error while opening encoder for output stream #0:0\n"
                           "Exit code 1")},
        {1, QString()},
    };
    PropertiesCommand command = recordingCommand();
    for (const Step &step : steps) {
        SCOPED_TRACE(step.row);
        jobs.selectOnly(step.row);
        command.Properties1Click();
        EXPECT_EQ(failure->isVisibleTo(&dialog), !step.reason.isEmpty());
        EXPECT_EQ(label->isVisibleTo(&dialog), !step.reason.isEmpty());
        EXPECT_EQ(failure->toPlainText(), step.reason);
    }
}

TEST_F(PropertiesCommandTest, ShownModallyUntilOkIsPressed)
{
    addRows({kMp4});
    jobs.selectOnly(0);
    PropertiesCommand command({jobs, boxes, texts, dialog});
    runModal(
        dialog, [&] { command.Properties1Click(); },
        [&] {
            EXPECT_TRUE(dialog.isModal());
            EXPECT_EQ(fieldsOf(dialog), kMp4Fields);
            QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button1")),
                              Qt::LeftButton);
        });
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
