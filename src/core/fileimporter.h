#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class CommandStates;
class JobList;
class MessageBoxes;
class PipedRunner;
class RequestBuilder;
class TextLookup;

// Chooses files or a folder for the job list (the window supplies the dialogs).
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    virtual QStringList chooseFiles() = 0;                    // empty when cancelled
    virtual QString chooseFolder(const QString &caption) = 0; // empty when cancelled
    // "IFO Files(*.ifo)", several files; empty when cancelled.
    virtual QStringList chooseIfoFiles() { return {}; }
};

// Adds video files to the job list: each file is probed by the encoder, and its
// report fills the new row's cells and source record.
class FileImporter
{
public:
    struct Context {
        JobList &jobs;
        RequestBuilder &builder;
        PipedRunner &runner;
        FileDialogs &dialogs;
        MessageBoxes &boxes;
        TextLookup &texts;
        CommandStates &commands;
        QString encoderPath;
        QString workDir;
        std::function<bool()> converting;
        std::function<void()> showJobList;
        std::function<void()> lvClick;
        std::function<void()> processEvents; // lets the window breathe between files
    };

    explicit FileImporter(Context context);

    void addFiles();
    void addFolder();
    void addFolderPath(const QString &folder); // the part of addFolder after the dialog
    void addFilePaths(const QStringList &files); // the part of addFiles after the dialog
    // Files and folders dropped on the list: refused as Add Files refuses; a folder
    // gives the files Add Folder takes from it.
    void addDroppedPaths(const QStringList &paths);
    // Probes one file and appends its row; false when the file was skipped.
    bool addOneFile(const QString &path);

    static bool takenByAddFolder(const QString &fileName);

    // Files are being probed; the window keeps its list commands and Start disabled.
    bool importing() const { return m_importing; }

private:
    void selectFirstRowIfNoneSelected();
    // False while an import runs: the events handled during a probe may click an Add
    // command again, and a second import would interleave its rows with the first's.
    bool beginImport();
    void endImport();

    Context m_c;
    bool m_importing = false;
};
