#pragma once

#include <QString>

#include <functional>

class CommandStates;
class EncoderControl;
class Edition;
class JobList;
class MergeControl;
class MessageBoxes;
class OutputFolderField;
class RequestBuilder;
class ShellActions;
class TextLookup;
struct ProfileState;
struct QueueSettings;
struct intputrec;

// Everything the queue reads or drives, wired once by the program.
struct QueueContext {
    JobList &jobs;
    const Edition &edition;
    QueueSettings &settings;
    const ProfileState &profile;
    RequestBuilder &builder;
    intputrec &request;
    EncoderControl &encoder;
    MergeControl &merge;
    MessageBoxes &boxes;
    TextLookup &texts;
    CommandStates &commands;
    ShellActions &shell;
    OutputFolderField &outputField;
    std::function<bool()> previewPlaying;
    std::function<QString()> defaultOutputFolder;
    std::function<bool()> importing; // files are being probed into the list
    std::function<void()> runEnded;  // every checked row had its turn
};

// Converts the checked rows of the job list one after another, one encoder at a
// time, names the outputs, and ends the run with the merge and the finish action.
class ConversionQueue
{
public:
    explicit ConversionQueue(QueueContext context);

    bool converting() const { return m_converting; }
    // Stopped, and the stopped row's encoder has not ended yet: it may still be
    // finishing its file. No new run starts before it has ended.
    bool stopping() const { return m_stopping; }
    int rowPointer() const { return m_rowPointer; }

    void startConversion();
    void stopConversion();
    // The encoder of the current row has ended.
    void JvCreateProcessTerminate(int exitCode);

    void removeRows();
    void clearRows();

    // The folder chosen in the folder dialog becomes the output folder and is shown.
    // A name holding a line break is refused with a message: the settings file could
    // not keep it. Returns whether the folder was taken.
    bool chooseOutputFolder(const QString &chosen);

    // The output folder for a text of ed_output: "~" and a relative text are taken
    // from the home folder, never from the folder the program runs in (the encoder
    // runs in the program folder and would put the outputs there).
    static QString absoluteOutputFolder(const QString &text, const QString &home);

    // First free name: folder + base + extension, else base + "_N" + extension.
    static QString uniqueOutputPath(const QString &folder, const QString &base,
                                    const QString &extension,
                                    const QString &numberedBase = QString());

private:
    // Marks the row before as finished and passes over unchecked rows; false when the
    // list ran out and the run has ended.
    bool reachCheckedRow(bool dvdRows);
    void convertFileRow();
    void convertNextDvdRow();
    void endRun();
    void takeOutputFolder();
    void markFinished(int row);
    bool refusedWhileBusy();
    bool importing() const;
    QString finishText() const { return QStringLiteral("Finish"); }

    QueueContext m_c;
    bool m_converting = false;
    bool m_stopping = false;
    int m_rowPointer = 0;
};
