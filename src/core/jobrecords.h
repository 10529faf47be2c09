#pragma once

#include <QString>

#include <cstdint>

// Source description of a job row, filled when the row is added.
struct Toriginalinfo {
    QString sourcePath;   // empty for DVD rows
    QString resolution;   // "720x480"
    QString durationText; // time text
    QString unused;       // kept so the eleven fields stay in their known order
    QString videoBitrate; // kb/s, decimal text
    QString audioBitrate; // kb/s, decimal text
    QString videoFormat;
    QString audioFormat;
    QString sampleRate;
    QString channels;
    QString frameRate;
};

// The DVD source of a DVD row.
struct TConvertInfo {
    QString audioId = {};    // "0" or the stream id, e.g. "0x80"
    QString subtitleId = {}; // "0" for none
    int32_t beginSector = 0;
    int32_t endSector = 0;
    QString ifoPath = {};
    int64_t duration = 0; // seconds
    int32_t beginTime = 0;
    int32_t endTime = 0;
};

// The sector range of a DVD row; trimming narrows it.
struct TDvdRange {
    int32_t beginSector = 0;
    int32_t endSector = 0;
    int32_t beginTime = 0;
    int32_t endTime = 0;
    uint8_t isTitle = 0;
};

// The encode request, refilled for every row; fields a row does not set keep
// their earlier value.
struct intputrec {
    QString inputPath;
    QString outputPath;
    QString encoderPath;
    QString workDir;
    QString videoRateArg;
    QString audioRateArg;
    int32_t durationSeconds = 0;
    QString profileOptions;
    QString sizeArg;
    QString sampleRateArg;
    QString channelsArg;
    QString aspectArg;
};
