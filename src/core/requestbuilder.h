#pragma once

#include "core/jobrecords.h"

#include <QString>

#include <cstdint>

class Edition;
class JobList;
class TextLookup;
struct FormatSettings;
struct ProfileState;

// Fills the encode request of a row from the row, the active profile and the
// choices of the format settings dialog, and estimates the output bit rate.
class RequestBuilder
{
public:
    RequestBuilder(const JobList &jobs, const Edition &edition, const ProfileState &profile,
                   const FormatSettings &settings, const TextLookup &texts);

    // The row whose source facts the fragments and the estimate read.
    int estimateRow() const { return m_estimateRow; }
    void setEstimateRow(int row) { m_estimateRow = row; }

    // Fills every field but the output path, the encoder path and the work folder.
    void fillRequest(int row, intputrec &request);

    // Total bit rate in kb/s of an output made from estimateRow.
    int32_t estimateKbps() const;

    // Refreshes the "Output Size" cell of every row.
    void recomputeOutputSizes(JobList &jobs);

    // The special list items, recognised by the text they were added with.
    bool sourceSizeChosen() const;
    // The source's own size is kept: its item is chosen, or the size box is empty.
    bool keepsSourceSize() const;
    bool sourceVideoQualityChosen() const;
    bool sourceAudioQualityChosen() const;

    // Fragments, each read from the current state.
    QString sizeArg() const;
    QString aspectArg(const QString &sizeArg) const;
    QString videoRateArg() const;
    QString audioRateArg() const;
    QString sampleRateArg(const QString &audioRateArg) const;
    QString channelsArg() const;

private:
    const Toriginalinfo *sourceFacts() const;
    int videoPosition() const;
    int audioPosition() const;
    int32_t videoPart() const;
    bool amrOutput() const;

    const JobList &m_jobs;
    const Edition &m_edition;
    const ProfileState &m_profile;
    const FormatSettings &m_settings;
    const TextLookup &m_texts;
    int m_estimateRow = 0;
};

// Kilobits per second per line of picture height, by video quality position.
double qualityFactor(int profile, int position);
