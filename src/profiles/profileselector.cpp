#include "profiles/profileselector.h"

#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/messageboxes.h"
#include "core/profilestate.h"
#include "core/skinobjects.h"
#include "core/textlookup.h"
#include "profiles/catalogue.h"
#include "profiles/profilelist.h"
#include "profiles/rememberedchoices.h"

#include <QFileInfo>

namespace
{

bool outsideSlotRange(int n)
{
    return n < 15 || n > 101;
}

} // namespace

ProfileSelector::ProfileSelector(Context context) : m_c(std::move(context)) {}

QString ProfileSelector::profileListPath() const
{
    return m_c.programFolder + QStringLiteral("/profiles.pop");
}

void ProfileSelector::selectProfile(int number)
{
    ProfileState &p = m_c.profile;
    if (p.currentCategory >= 1 && p.currentCategory <= 14)
        m_c.skin.ShowPicture(QStringLiteral("im_mainico"),
                             m_c.programFolder + QStringLiteral("/images/main/") +
                                 QString::number(p.currentCategory) + QStringLiteral(".bmp"));
    const QString description = catalogue::description(number);
    if (!description.isEmpty())
        p.profileDescription = description;
    m_c.skin.SetObjectText(QStringLiteral("profilestext"), p.profileDescription);

    m_c.remembered.storeProfileChoices(p.activeProfile);

    const QString path = profileListPath();
    const ProfileGroup group = readProfileGroup(path, number);
    if (!group.opened) {
        m_c.boxes.error(QStringLiteral("Cannot open file \"%1\". The profile list is missing or "
                                       "unreadable; please install the program again.")
                            .arg(QFileInfo(path).absoluteFilePath()));
        return;
    }
    if (group.sizes)
        fillSizes(number, *group.sizes);
    if (group.videoRates)
        fillQualities(number, *group.videoRates);
    if (group.options)
        p.profileOptions = *group.options;

    m_c.remembered.restoreProfileChoices(number);
    p.activeProfile = number;
    if (m_c.recomputeOutputSizes)
        m_c.recomputeOutputSizes();
}

void ProfileSelector::fillSizes(int number, const QString &line)
{
    ChoiceList &size = m_c.settings.cb_size;
    size.clear();
    for (const QString &item : splitProfileItems(line))
        size.addItem(item);
    if (isDiscTargetProfile(number)) {
        size.clear();
        size.addItem(QStringLiteral("PAL"));
        size.addItem(QStringLiteral("NTSC"));
    }
    if (outsideSlotRange(number) && size.count() >= 2 &&
        m_c.profile.profileExtension() != QLatin1String(".mp4") && number <= 111)
        size.addItem(addText(m_c.texts, QStringLiteral("The original width and height")));
    if (size.count() == 0) {
        size.addItem(addText(m_c.texts, QStringLiteral("No Video")));
        size.setSelected(0);
    }
}

void ProfileSelector::fillQualities(int number, const QString &line)
{
    FormatSettings &s = m_c.settings;
    if (isDiscTargetProfile(number)) {
        s.cb_videobitrate.setEnabled(false);
        s.cb_audiobitrate.setEnabled(false);
        s.cb_channel.setEnabled(false);
        s.cb_size.setEnabled(true);
        return;
    }
    s.cb_videobitrate.setEnabled(true);
    s.cb_audiobitrate.setEnabled(true);
    s.cb_channel.setEnabled(true);

    const QString noVideo = addText(m_c.texts, QStringLiteral("No Video"));
    if (const int i = s.cb_videobitrate.indexOf(noVideo); i >= 0)
        s.cb_videobitrate.removeItem(i);

    const QString sourceVideo = addText(m_c.texts, QStringLiteral("The Original Video Quliay"));
    const QString sourceAudio = addText(m_c.texts, QStringLiteral("The Original Audio Quliay"));
    const bool offerSource = m_c.edition.isFileEdition() && outsideSlotRange(number) &&
                             m_c.profile.profileExtension() != QLatin1String(".mp4");
    if (offerSource) {
        if (!s.cb_videobitrate.contains(sourceVideo))
            s.cb_videobitrate.addItem(sourceVideo);
        if (!s.cb_audiobitrate.contains(sourceAudio))
            s.cb_audiobitrate.addItem(sourceAudio);
    } else {
        if (const int i = s.cb_videobitrate.indexOf(sourceVideo); i >= 0)
            s.cb_videobitrate.removeItem(i);
        if (const int i = s.cb_audiobitrate.indexOf(sourceAudio); i >= 0)
            s.cb_audiobitrate.removeItem(i);
    }

    if (line == QLatin1String("*") && s.cb_size.count() == 1) {
        m_c.profile.videoRateSlots[0] = QStringLiteral("*");
        s.cb_videobitrate.addItem(noVideo);
        s.cb_videobitrate.setSelected(s.cb_videobitrate.count() - 1);
        s.cb_size.setEnabled(false);
        s.cb_videobitrate.setEnabled(false);
        return;
    }
    s.cb_size.setEnabled(true);
    s.cb_videobitrate.setEnabled(true);
    const QStringList rates = splitProfileItems(line);
    for (int k = 0; k < rates.size() && k < 5; ++k)
        m_c.profile.videoRateSlots[size_t(4 - k)] = rates[k];
}
