// Every profile of the catalogue converts through register.dat with the command line the
// converter builds for it, and gives a file of its container that decodes.
//
// The command line comes from the program's own pieces, wired as the window wires them:
// the profile selector reads the shipped profiles.pop of the program folder into the
// format settings, the request builder turns them and the clip's row into the encode
// request, and the command line is built and split as the encoder run does it.
#include "core/commandline.h"
#include "core/conversionqueue.h"
#include "core/edition.h"
#include "core/fileimporter.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/pipedprocess.h"
#include "core/profilestate.h"
#include "core/requestbuilder.h"
#include "platform/qtuiposter.h"
#include "process/capturedrun.h"
#include "profiles/catalogue.h"
#include "profiles/profilelist.h"
#include "profiles/profileselector.h"
#include "profiles/rememberedchoices.h"
#include "support/fakes.h"
#include "support/profilerig.h"
#include "support/testenv.h"
#include "tools/toolsupport.h"

#include <QFile>
#include <QObject>

#include <gtest/gtest.h>

#include <optional>

using namespace toolsupport;

namespace
{

// The demuxer libavformat names when it opens a file of the extension; empty for an
// extension this table does not know, so that a new one fails until it is added here.
std::string demuxerFor(const QString &extension)
{
    const std::string ext = extension.mid(1).toLower().toStdString();
    const struct {
        const char *extension;
        const char *demuxer;
    } table[] = {
        {"asf", "asf"},
        {"wmv", "asf"},
        {"wma", "asf"},
        {"avi", "avi"},
        {"rm", "rm"},
        {"ra", "rm"},
        {"flv", "flv"},
        {"swf", "swf"},
        {"aac", "aac"},
        {"ac3", "ac3"},
        {"mp3", "mp3"},
        {"mp2", "mp3"},
        {"ogg", "ogg"},
        {"wav", "wav"},
        {"aiff", "aiff"},
        {"au", "au"},
        {"mpg", "mpeg"},
        {"mpeg", "mpeg"},
        {"vob", "mpeg"},
        {"ts", "mpegts"},
        {"mkv", "matroska,webm"},
        {"amr", "amr"},
        {"mp4", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"mov", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"m4a", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"3gp", "mov,mp4,m4a,3gp,3g2,mj2"},
        {"3g2", "mov,mp4,m4a,3gp,3g2,mj2"},
    };
    for (const auto &row : table) {
        if (ext == row.extension)
            return row.demuxer;
    }
    return {};
}

struct NoDialogs : FileDialogs {
    QStringList chooseFiles() override { return {}; }
    QString chooseFolder(const QString &) override { return {}; }
};

// The converter's objects for one profile, fresh for every case: nothing a profile
// selected before can leak into the next one's lists.
class ProfileConversion : public ::testing::TestWithParam<CatalogueEntry>, public ProfileRig
{
public:
    // The clip's row as the file importer adds it: probed once by register.dat, and
    // given to every case as its only row.
    static void SetUpTestSuite()
    {
        ProfileRig rig;
        QObject context;
        QtUiPoster poster{&context};
        PipedProcess piped{poster};
        NoDialogs dialogs;
        CountingCommands commands;
        FileImporter importer{
            FileImporter::Context{.jobs = rig.jobs,
                                  .builder = rig.builder,
                                  .runner = piped,
                                  .dialogs = dialogs,
                                  .boxes = rig.boxes,
                                  .texts = rig.texts,
                                  .commands = commands,
                                  .encoderPath = testenv::toolPath(QStringLiteral("register.dat")),
                                  .workDir = testenv::programDir(),
                                  .converting = [] { return false; },
                                  .showJobList = [] {},
                                  .lvClick = [] {},
                                  .processEvents = [] {}}};
        if (importer.addOneFile(QString::fromStdString(clip("clip.avi"))) &&
            rig.jobs.rowCount() == 1)
            s_clipRow = rig.jobs.originalInfo(0);
    }

    static void TearDownTestSuite() { s_clipRow.reset(); }

protected:
    static std::optional<Toriginalinfo> s_clipRow;

    intputrec request;
};

std::optional<Toriginalinfo> ProfileConversion::s_clipRow;

} // namespace

// A failing case names its profile rather than the bytes of the entry.
void PrintTo(const CatalogueEntry &entry, std::ostream *os)
{
    *os << entry.number << " " << entry.description;
}

TEST_P(ProfileConversion, ConvertsTheClipIntoAPlayableFile)
{
    const int number = GetParam().number;
    ASSERT_TRUE(QFile::exists(selector.profileListPath()))
        << "no profiles.pop in the program folder " << testenv::programDir().toStdString();
    ASSERT_TRUE(s_clipRow) << "register.dat's probe of clip.avi gave no row";
    const int row = jobs.appendRow(QStringLiteral("clip"));
    jobs.originalInfo(row) = *s_clipRow;

    selector.selectProfile(number);
    ASSERT_TRUE(boxes.calls.isEmpty()) << boxes.calls.join('\n').toStdString();
    ASSERT_EQ(profile.activeProfile, number);
    const ProfileGroup group = readProfileGroup(selector.profileListPath(), number);
    ASSERT_TRUE(group.options) << "profiles.pop has no group " << number;
    // Size, qualities and channels stay where the profile's defaults put them; a
    // profile without a default size keeps the source's.

    TempDir dir;
    const QString extension = profile.profileExtension();
    request.encoderPath = testenv::toolPath(QStringLiteral("register.dat"));
    request.workDir = testenv::programDir();
    request.outputPath = ConversionQueue::uniqueOutputPath(
        QString::fromStdString(dir.path()) + QLatin1Char('/'), jobs.caption(row), extension);
    builder.fillRequest(row, request);
    const QString commandLine = buildCommandLine(request);
    SCOPED_TRACE(commandLine.toStdString());

    const QStringList args = splitCommandLine(commandLine);
    ASSERT_FALSE(args.isEmpty());
    EXPECT_EQ(args.front(), request.encoderPath);
    EXPECT_EQ(args.back(), request.outputPath);
    std::vector<std::string> argv;
    for (const QString &arg : args)
        argv.push_back(arg.toStdString());
    const auto run = process::runCaptured(argv, false, request.workDir.trimmed().toStdString());
    ASSERT_TRUE(run.started) << run.startError;
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("time="), std::string::npos) << "no progress line";

    std::string error;
    const auto media = inspectMedia(request.outputPath.toStdString(), &error);
    ASSERT_TRUE(media) << error;
    EXPECT_EQ(media->format, demuxerFor(extension)) << extension.toStdString();
    EXPECT_EQ(media->audioStreams, 1);
    EXPECT_GT(media->decodedAudioFrames, 0);
    // Groups without video rates ("*") are the audio profiles.
    const bool video =
        group.videoRates != QStringLiteral("*") && extension != QLatin1String(".amr");
    EXPECT_EQ(media->videoStreams, video ? 1 : 0);
    if (video) {
        EXPECT_GT(media->decodedVideoFrames, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, ProfileConversion, ::testing::ValuesIn(catalogue::entries()),
                         [](const ::testing::TestParamInfo<CatalogueEntry> &info) {
                             return "Profile" + std::to_string(info.param.number);
                         });
