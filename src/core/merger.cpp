#include "core/merger.h"

#include "core/commandline.h"
#include "core/conversionqueue.h"
#include "core/joblist.h"
#include "core/pipedrunner.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"

Merger::Merger(Context context) : m_c(std::move(context)) {}

void Merger::startMergeCommand()
{
    m_head = quoteIfBlank(m_c.programFolder + QStringLiteral("/join.dll")) +
             QStringLiteral(" -zarnix 99999 ");
    m_inputs.clear();
}

void Merger::addMergeInput(int row, const QString &path)
{
    m_inputs.push_back({row, path});
}

void Merger::mergeOutputs()
{
    // Outputs of rows whose encoder failed are not joined.
    QString command = m_head;
    int joined = 0;
    for (const Input &input : m_inputs) {
        if (m_c.jobs.isFailed(input.row))
            continue;
        command += QStringLiteral(" -kestrab ") + quoteIfBlank(input.path);
        ++joined;
    }
    if (joined == 0)
        return;
    const QString output = ConversionQueue::uniqueOutputPath(
        m_c.settings.outputFolder, QStringLiteral("join"), m_c.profile.profileExtension());
    m_c.request.outputPath = output;
    command += QStringLiteral(" -acodec copy -vcodec copy ") + quoteIfBlank(output);
    m_mergeCommand = command;
    // A merge tool that cannot be started leaves no merged file; nothing is reported.
    m_c.runner.runPiped(splitCommandLine(m_mergeCommand), m_c.request.workDir.trimmed());
}
