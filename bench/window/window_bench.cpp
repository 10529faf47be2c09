// The main window: the time from process start to its first painted frame, and
// the resident memory at idle with 100 rows in the job list.
// Usage: window_bench [ROWS]   (run it under an X server, e.g. xvfb-run)
#include "app/converterapp.h"
#include "shell/skin/skinengine.h"
#include "shell/widgets/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace
{

// Seconds since this process started, from the kernel's own start time.
double secondsSinceStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray s = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    const double now = uptime.readAll().split(' ').value(0).toDouble();
    return now - started;
}

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Notes when the window's skinned face is painted the first time.
class FirstPaint : public QObject
{
public:
    double at = -1;
    QWidget *window = nullptr;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Any part of the main window painted: its skinned face comes first.
        if (event->type() == QEvent::Paint && at < 0) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == window)
                at = secondsSinceStart();
        }
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    QTemporaryDir config;
    ConverterApp converter(QStringLiteral("marlo-video-converter"),
                           QStringLiteral(MARLO_PROGRAM_DIR), config.path());
    MainWindow &w = converter.mainWindow();
    FirstPaint paint;
    paint.window = &w;
    app.installEventFilter(&paint);
    w.show();
    QElapsedTimer wait;
    wait.start();
    while (paint.at < 0 && wait.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("first painted frame: %.3f s after process start (goal < 0.5 s)\n", paint.at);

    // Rows the way Add Files makes them: each probed by register.dat.
    const QString clip = QStringLiteral(MARLO_CLIPS_DIR) + QStringLiteral("/clip.avi");
    const QString clips = QStringLiteral(MARLO_CLIPS_DIR);
    if (!QFile::exists(clips + QStringLiteral("/.done")) &&
        QProcess::execute(QStringLiteral("bash"),
                          {QStringLiteral(MARLO_SOURCE_DIR) +
                               QStringLiteral("/tests/fixtures/make_clips.sh"),
                           clips}) != 0) {
        std::fprintf(stderr, "cannot make the clips in %s\n", qPrintable(clips));
        return 1;
    }
    QTemporaryDir folder;
    QStringList files;
    for (int i = 0; i < rows; ++i) {
        const QString path = folder.filePath(QStringLiteral("clip %1.avi").arg(i, 3, 10, QLatin1Char('0')));
        QFile::link(clip, path);
        files << path;
    }
    converter.importer().addFilePaths(files);
    wait.restart();
    while (wait.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::printf("resident memory at idle with %d rows: %.1f MiB\n", converter.jobs().rowCount(),
                residentKiB() / 1024.0);
    w.close();
    return 0;
}
