#pragma once

#include "dvd/ifoinfo.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class JobList;
class TextLookup;
struct DvdTables;

// The nine calls of the IFO reader that the listing uses; tests script them.
class IfoSource
{
public:
    virtual ~IfoSource() = default;
    // False when the file cannot be read; the calls below then read the opened file.
    virtual bool open(const QString &path) = 0;
    virtual int numPgci() = 0;
    virtual int pgciInfo(int pgc, IfoPlayingTime &time) = 0;
    virtual std::vector<IfoCellRecord> cells(int pgc, int count) = 0;
    virtual QString videoDesc() = 0;
    virtual int numAudio() = 0;
    virtual QString audioDesc(int index) = 0;
    virtual int numSubPic() = 0;
    virtual QString subPicDesc(int index) = 0;
};

// The library's reader over libdvdread.
std::unique_ptr<IfoSource> makeIfoReader();

// Reads DVD title-set information files into job-list rows: a row per title, and
// in the chapter view a row per chapter after its title. Each row gets its DVD
// record, its sector range, its source facts and its columns.
class TitleListing
{
public:
    struct Context {
        JobList &jobs;
        DvdTables &tables;
        const TextLookup &texts;
        IfoSource &reader;
        std::function<void(int row)> setEstimateRow;
        // The output-size text of the estimate row for a duration in seconds.
        std::function<QString(int64_t seconds)> outputSize;
    };

    explicit TitleListing(Context context);

    // Reads one file with the current view into the last record of ifoFiles.
    void readIfo(const QString &path);
    void readIfoTitles(const QString &path) { read(path, false); }
    void readIfoChapters(const QString &path) { read(path, true); }

    // Rules of the listing.
    static int hmsToSeconds(uint8_t hours, uint8_t minutes, uint8_t seconds);
    static QString twoDigits(int number);
    static QString streamIdOf(const QString &description);
    static QString pictureSizeWord(const QString &videoDescription);

private:
    void read(const QString &path, bool chapters);
    int appendRow(const QString &caption);
    void dropLastRow();

    Context m_c;
};
