#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class CommandStates;
class FileDialogs;
class JobList;
class MessageBoxes;
class TextLookup;
class TitleListing;
struct DvdTables;

// Brings a DVD into the job list: Add DVD searches a chosen folder (a disc, or a
// copy of one) and its VIDEO_TS folder for title-set information files; Add IFO
// reads chosen .ifo files. Every file found becomes rows through the listing;
// then all rows are ticked and the longest is selected.
class DvdDiscovery
{
public:
    struct Context {
        JobList &jobs;
        DvdTables &tables;
        TitleListing &listing;
        FileDialogs &dialogs;
        MessageBoxes &boxes;
        TextLookup &texts;
        CommandStates &commands;
        std::function<bool()> converting;
        std::function<bool()> previewPlaying;
        std::function<void()> showJobList;
        std::function<void(bool)> setListEnabled;
        std::function<void()> lvClick;
        std::function<void()> processEvents;
        // Whether a folder lies on an optical drive, and the wait until it answers.
        std::function<bool(const QString &)> onOpticalDrive;
        std::function<void(const QString &)> waitForDrive;
    };

    explicit DvdDiscovery(Context context);

    void addDvd();
    void addIfo();
    // Add DVD after its dialog, and Add IFO after its dialog; also for drops.
    void addDvdFolder(const QString &folder);
    void addIfoFiles(const QStringList &files);

    bool findIfoFiles(const QString &folder);

    // The mount whose device is an optical drive (/dev/sr*, /dev/cdrom…), from
    // /proc/self/mountinfo; `mountInfo` replaces the file in tests.
    static bool isOnOpticalDrive(const QString &path, const QString &mountInfo = {});
    // Waits on a worker thread until the folder can be read, handling events meanwhile.
    static void waitUntilReadable(const QString &folder, const std::function<void()> &processEvents);

private:
    bool refused();
    void tickAllAndSelectLongest();

    Context m_c;
};
