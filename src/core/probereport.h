#pragma once

#include <QString>

// What the encoder's probe report says about a file, read by the fixed rules
// the report layout was made for. Every field stays empty where its rule finds nothing.
struct ProbeReport {
    QString duration;     // eight-character time text
    QString bitrate;      // overall kb/s
    QString videoBitrate; // kb/s
    QString audioBitrate; // kb/s
    QString size;         // "640x480"
    QString videoFormat;
    QString frameRate; // the rest of the video line after its fourth field, leading blank kept
    QString audioFormat;
    QString sampleRate; // leading blank kept
    QString channels;   // leading blank kept
};

ProbeReport parseProbeReport(const QString &report);
