#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <memory>

class UiPoster;
namespace process
{
class ChildProcess;
}

// One child of the program, the skeleton that the encoder runner and the helper
// runner share: the child runs in a process group of its own with standard output
// and standard error in one pipe; a reader thread reads the pipe and a wait thread
// waits for the child, and both hand over to the user-interface thread through
// the poster. The end is reported there only after the reader has seen the pipe
// close and the wait thread has seen the child end, so every byte comes first.
//
// How the output reaches its owner is the delivery policy: as it comes, in pieces
// (through the pending-output buffer, so a blocked user-interface thread never
// lets more than 128 KiB pile up), or whole with the end.
//
// Every member belongs to the user-interface thread, and the handlers run on it.
// A handler may close the run or drop the last reference to it.
class ChildRun
{
public:
    enum class Delivery { InPieces, Whole };
    enum class Input { KeepOpen, Closed }; // a pipe the parent never writes

    struct Setup {
        Delivery delivery = Delivery::Whole;
        Input input = Input::Closed;
        qsizetype pieceSize = 2048;
        std::function<void(const QByteArray &piece)> onOutput; // InPieces only
        std::function<void(int exitCode, const QByteArray &whole)> onEnded;
    };

    // Starts argv[0] with argv in workDir (empty: the program's own). Null when the
    // child or its threads could not be started; error then says why, and nothing
    // is reported.
    static std::shared_ptr<ChildRun> start(UiPoster &poster, const QStringList &argv,
                                           const QString &workDir, Setup setup,
                                           QString *error = nullptr);
    ~ChildRun();
    ChildRun(const ChildRun &) = delete;
    ChildRun &operator=(const ChildRun &) = delete;

    // Kills the group and joins the threads; nothing is reported afterwards.
    void close();
    // Without an event loop to deliver the threads' news: waits for them here and
    // reports the end at once.
    void finishWithoutEventLoop();

    bool ended() const;        // the end has been reported
    bool closed() const;       // closed before its end: it never will be
    int exitCode() const;      // -1 until the end
    QByteArray output() const; // Whole: everything, once ended

    process::ChildProcess &child();
    qint64 processId() const;

    struct State;

private:
    explicit ChildRun(std::shared_ptr<State> state);
    std::shared_ptr<State> m_state;
};
