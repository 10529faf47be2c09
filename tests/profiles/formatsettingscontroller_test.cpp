#include "profiles/formatsettingscontroller.h"

#include "core/queuesettings.h"
#include "profiles/profilefixture.h"

namespace
{

struct DialogFixture : ProfileFixture {
    QueueSettings queue;
    int recomputedByDialog = 0;
    std::unique_ptr<FormatSettingsController> dialog;

    void SetUp() override
    {
        ProfileFixture::SetUp();
        dialog = std::make_unique<FormatSettingsController>(FormatSettingsController::Context{
            .settings = format,
            .queue = queue,
            .profile = profile,
            .remembered = remembered,
            .texts = texts,
            .boxes = boxes,
            .recomputeOutputSizes = [this] { ++recomputedByDialog; }});
    }

    int warningsFor(const QString &typed)
    {
        boxes.calls.clear();
        format.cb_size.setTypedText(typed);
        dialog->cb_sizeExit();
        return int(boxes.calls.size());
    }
};

} // namespace

TEST_F(DialogFixture, SizeCheckWarnsPerMissingPart)
{
    selector->selectProfile(27);
    EXPECT_EQ(warningsFor(QStringLiteral("640x480")), 0);
    EXPECT_EQ(warningsFor(QStringLiteral("720x576(PAL)")), 0);
    EXPECT_EQ(warningsFor(QStringLiteral("0x480")), 1);
    EXPECT_EQ(warningsFor(QStringLiteral("640x")), 1);
    EXPECT_EQ(warningsFor(QStringLiteral("abc")), 2);
    EXPECT_EQ(boxes.calls[0], QStringLiteral("warning: Invalid height or width, please input "
                                             "again or select from the pull-down menu."));
    selector->selectProfile(2); // its list ends with the source-size item
    EXPECT_EQ(warningsFor(QStringLiteral("abc")), 0);
    selector->selectProfile(113);
    EXPECT_EQ(warningsFor(QStringLiteral("abc")), 0);
}

TEST_F(DialogFixture, OkStoresAndCancelKeepsForNow)
{
    selector->selectProfile(27);
    queue.finishAction = 1;
    dialog->show();
    EXPECT_EQ(format.rg_finish, 1);

    format.rg_finish = 2;
    format.cb_videobitrate.setSelected(0);
    dialog->Button2Click();
    EXPECT_EQ(queue.finishAction, 1);
    EXPECT_EQ(choices->readInt(QStringLiteral("27"), QStringLiteral("video bitrate"), -9), -9);
    EXPECT_EQ(format.cb_videobitrate.selected(), 0); // still in effect for the next conversion

    dialog->show();
    format.rg_finish = 2;
    dialog->Button1Click();
    EXPECT_EQ(queue.finishAction, 2);
    EXPECT_EQ(recomputedByDialog, 1);
    EXPECT_EQ(choices->readInt(QStringLiteral("27"), QStringLiteral("video bitrate"), -9), 0);
    dialog->show();
    EXPECT_EQ(format.rg_finish, 2);
}
