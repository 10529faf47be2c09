#include "shell/widgets/propertiescommand.h"

#include "core/joblist.h"
#include "core/messageboxes.h"
#include "core/textlookup.h"
#include "shell/joblistmodel.h"
#include "shell/widgets/propertiesdialog.h"

PropertiesCommand::PropertiesCommand(Context context, ShowDialog show)
    : m_c(context), m_show(std::move(show))
{
    if (!m_show)
        m_show = [](PropertiesDialog &dialog) { dialog.exec(); };
}

void PropertiesCommand::Properties1Click()
{
    const int row = m_c.jobs.firstSelected();
    if (row < 0) {
        m_c.boxes.information(m_c.texts.LoadInterfaceString(30));
        return;
    }
    m_c.dialog.fill(m_c.jobs.originalInfo(row), JobListModel::failureText(m_c.jobs, row));
    m_show(m_c.dialog);
}
