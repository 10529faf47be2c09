#include "profiles/formatsettingscontroller.h"

#include "core/formatsettings.h"
#include "core/messageboxes.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "core/textlookup.h"
#include "profiles/rememberedchoices.h"

FormatSettingsController::FormatSettingsController(Context context) : m_c(std::move(context)) {}

void FormatSettingsController::show()
{
    m_c.settings.rg_finish = m_c.queue.finishAction;
}

void FormatSettingsController::Button1Click()
{
    m_c.queue.finishAction = m_c.settings.rg_finish;
    if (m_c.recomputeOutputSizes)
        m_c.recomputeOutputSizes();
    m_c.remembered.storeProfileChoices(m_c.profile.activeProfile);
}

void FormatSettingsController::Button2Click() {}

void FormatSettingsController::cb_sizeExit()
{
    const ChoiceList &size = m_c.settings.cb_size;
    const QString sourceSize = addText(m_c.texts, QStringLiteral("The original width and height"));
    const QString last = size.lastItem();
    if (last == sourceSize || last == QLatin1String("PAL") || last == QLatin1String("NTSC"))
        return;
    const QString warning = m_c.texts.LookUpText(
        QStringLiteral("MessageDlg"),
        QStringLiteral("Invalid height or width, please input again or select from the pull-down "
                       "menu."),
        QStringLiteral("Invalid height or width, please input again or select from the pull-down "
                       "menu."));
    if (pictureWidth(size.text()) == 0)
        m_c.boxes.warning(warning);
    if (pictureHeight(size.text()) == 0)
        m_c.boxes.warning(warning);
}
