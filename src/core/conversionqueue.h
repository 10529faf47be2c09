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
};

// Converts the checked rows of the job list one after another, one encoder at a
// time, names the outputs, and ends the run with the merge and the finish action.
class ConversionQueue
{
public:
    explicit ConversionQueue(QueueContext context);

    bool converting() const { return m_converting; }
    int rowPointer() const { return m_rowPointer; }

    void startConversion();
    void stopConversion();
    // The encoder of the current row has ended.
    void JvCreateProcessTerminate(int exitCode);

    void removeRows();
    void clearRows();

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
    QString finishText() const { return QStringLiteral("Finish"); }

    QueueContext m_c;
    bool m_converting = false;
    int m_rowPointer = 0;
};
