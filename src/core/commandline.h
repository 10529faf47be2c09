#pragma once

#include "core/jobrecords.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// A path is wrapped in double quotes when it holds a blank; one that holds a
// double quote is quoted too, with the quote escaped by a backslash (and the
// backslashes before it doubled), so that splitCommandLine gives it back whole.
QString quoteIfBlank(const QString &text);

// Turns a command text back into arguments: blanks separate, double quotes
// group, backslash-quote gives a quote, empty arguments are dropped.
QStringList splitCommandLine(const QString &commandLine);

// The encoder's command line, pieces joined exactly as the encoder expects them.
QString buildCommandLine(const intputrec &request);

// "vts://NN*begin*end*audio*subtitle*/<disc root>" for a DVD row.
QString dvdInputText(const TConvertInfo &info, const TDvdRange &range);

// The disc root of an information file: the folder holding its VIDEO_TS folder,
// or its own folder when that is not called VIDEO_TS.
QString discRootOf(const QString &ifoPath);

// "10.73MB": the size of kbps for seconds in megabytes.
QString outputSizeText(int32_t kbps, int32_t seconds);

// Rounds half to even, as the estimates do.
int64_t roundHalfEven(double v);
