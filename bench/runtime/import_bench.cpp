// Adds 200 short files to the job list the way Add Folder does (a probe of each
// file by register.dat, then the row is filled) and reports the time per file and
// the longest time the UI thread went without handling events.
// Usage: import_bench [FILES]
#include "core/commandstates.h"
#include "core/edition.h"
#include "core/fileimporter.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/messageboxes.h"
#include "core/pipedprocess.h"
#include "core/profilestate.h"
#include "core/requestbuilder.h"
#include "core/textlookup.h"
#include "platform/qtuiposter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace
{

struct NoBoxes : MessageBoxes {
    void warning(const QString &) override {}
    void information(const QString &) override {}
    bool question(const QString &) override { return true; }
    void error(const QString &) override {}
};
struct NoCommands : CommandStates {
    void UpdateCommandStates() override {}
};
struct EnglishTexts : TextLookup {
    QString LookUpText(const QString &, const QString &, const QString &d) const override
    {
        return d;
    }
    QString LoadInterfaceString(int) override { return {}; }
};
struct NoDialogs : FileDialogs {
    QStringList chooseFiles() override { return {}; }
    QString chooseFolder(const QString &) override { return {}; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int files = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const QString clips = QStringLiteral(MARLO_CLIPS_DIR);
    if (!QFile::exists(clips + QStringLiteral("/.done")) &&
        QProcess::execute(
            QStringLiteral("bash"),
            {QStringLiteral(MARLO_SOURCE_DIR) + QStringLiteral("/tests/fixtures/make_clips.sh"),
             clips}) != 0) {
        std::fprintf(stderr, "cannot make the clips in %s\n", qPrintable(clips));
        return 1;
    }
    QTemporaryDir folder;
    for (int i = 0; i < files; ++i)
        QFile::copy(clips + QStringLiteral("/clip.avi"),
                    folder.filePath(QStringLiteral("clip %1.avi").arg(i, 3, 10, QLatin1Char('0'))));

    Edition edition;
    edition.setExeFileName(QStringLiteral("marlo-video-converter"));
    JobList jobs;
    ProfileState profile;
    profile.activeProfile = 2;
    profile.profileDescription = QStringLiteral("AVI-DivX Movie(*.avi)");
    FormatSettings format;
    format.cb_size.addItem(QStringLiteral("320x240"));
    format.cb_size.setSelected(0);
    EnglishTexts texts;
    RequestBuilder builder(jobs, edition, profile, format, texts);
    QObject context;
    QtUiPoster poster(&context);
    PipedProcess runner(poster);
    NoDialogs dialogs;
    NoBoxes boxes;
    NoCommands commands;
    FileImporter importer(FileImporter::Context{
        .jobs = jobs,
        .builder = builder,
        .runner = runner,
        .dialogs = dialogs,
        .boxes = boxes,
        .texts = texts,
        .commands = commands,
        .encoderPath = QStringLiteral(MARLO_PROGRAM_DIR) + QStringLiteral("/register.dat"),
        .workDir = QStringLiteral(MARLO_PROGRAM_DIR),
        .converting = [] { return false; },
        .showJobList = [] {},
        .lvClick = [] {},
        .processEvents = [] { QCoreApplication::processEvents(); }});

    // A 1 ms heartbeat: the longest gap between beats is the longest the UI thread was blocked.
    QElapsedTimer beat;
    qint64 longestGap = 0;
    QTimer heart;
    heart.setInterval(1);
    QObject::connect(&heart, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, beat.restart()); });

    QElapsedTimer total;
    total.start();
    beat.start();
    heart.start();
    importer.addFolderPath(folder.path());
    longestGap = std::max(longestGap, beat.elapsed());
    const qint64 ms = total.elapsed();
    heart.stop();

    std::printf("added %d of %d files in %.2f s: %.1f ms per file\n", jobs.rowCount(), files,
                ms / 1000.0, double(ms) / files);
    std::printf("longest UI-thread block: %lld ms (goal: under 100 ms)\n",
                static_cast<long long>(longestGap));
    return jobs.rowCount() == files ? 0 : 1;
}
