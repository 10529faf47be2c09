#include "shell/settingsfiles.h"

#include "core/edition.h"
#include "core/outputfolderfield.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "core/skinobjects.h"
#include "profiles/catalogue.h"
#include "profiles/pickerstate.h"
#include "profiles/rememberedchoices.h"

namespace
{
const QString kPlane = QStringLiteral("plane");
const QString kOutput = QStringLiteral("output");
const QString kProfiles = QStringLiteral("profiles");
const QString kJoin = QStringLiteral("Bjoin");
} // namespace

SettingsFiles::SettingsFiles(Context context) : m_c(std::move(context)) {}

QString SettingsFiles::settingsFileName(const QString &exeFileName)
{
    QString base = exeFileName;
    if (base.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        base.chop(4);
    const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        base = base.left(dot);
    return base + QStringLiteral(".ini");
}

void SettingsFiles::LoadSettings()
{
    const QString name = m_c.edition.exeFileName();
    m_settings =
        std::make_unique<IniFile>(m_c.configFolder + QLatin1Char('/') + settingsFileName(name));
    m_choices =
        std::make_unique<IniFile>(m_c.configFolder + QLatin1Char('/') + choicesFileName(name));
    m_c.remembered.setFile(m_choices.get());

    m_c.picker.videoPageFirst = m_settings->readBool(kPlane, QStringLiteral("video"), true);
    m_c.picker.audioPageFirst = m_settings->readBool(kPlane, QStringLiteral("audio"), true);

    const QString fallback = m_c.defaultOutputFolder ? m_c.defaultOutputFolder() : QString();
    m_c.queue.outputFolder = m_settings->readString(kOutput, QStringLiteral("path"), fallback);
    m_c.outputField.setText(m_c.queue.outputFolder);

    m_c.profile.currentCategory = m_settings->readInt(kProfiles, QStringLiteral("selcetindex"), 1);
    const int fallbackProfile = catalogue::defaultProfileForExe(name);
    int saved = m_settings->readInt(kProfiles, QStringLiteral("selcetsubindex"), fallbackProfile);
    // A number that names no profile would leave the outputs without an extension.
    if (!catalogue::isProfile(saved))
        saved = fallbackProfile;
    m_c.picker.highlightedButton = saved;
    if (m_c.selectProfile)
        m_c.selectProfile(m_c.picker.highlightedButton);

    m_c.queue.finishAction = m_settings->readInt(kProfiles, QStringLiteral("FinishSelcet"), 0);
    m_c.queue.mergeOn = m_settings->readBool(kJoin, kJoin, false);
    m_c.skin.SetObjectVisible(QStringLiteral("bt_mergeyse"), m_c.queue.mergeOn);
    m_c.skin.SetObjectVisible(QStringLiteral("bt_mergeno"), !m_c.queue.mergeOn);
}

void SettingsFiles::SaveSettings()
{
    if (!m_settings)
        return;
    m_settings->writeBool(kJoin, kJoin, m_c.queue.mergeOn);
    m_settings->writeString(kOutput, QStringLiteral("path"), m_c.queue.outputFolder);
    m_settings->writeInt(kProfiles, QStringLiteral("selcetsubindex"), m_c.profile.activeProfile);
    m_settings->writeInt(kProfiles, QStringLiteral("selcetindex"), m_c.profile.currentCategory);
    m_settings->writeInt(kProfiles, QStringLiteral("FinishSelcet"), m_c.queue.finishAction);
    m_settings->writeBool(kPlane, QStringLiteral("video"), m_c.picker.videoPageFirst);
    m_settings->writeBool(kPlane, QStringLiteral("audio"), m_c.picker.audioPageFirst);
    m_settings.reset();
}

bool SettingsFiles::closeQuery()
{
    SaveSettings();
    m_c.remembered.storeProfileChoices(m_c.profile.activeProfile);
    return true;
}
