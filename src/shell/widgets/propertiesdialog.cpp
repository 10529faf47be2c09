#include "shell/widgets/propertiesdialog.h"

#include "core/jobrecords.h"
#include "shell/widgets/dialogplacement.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace
{

QGroupBox *basicInfoGroup(const QString &name, QWidget *parent)
{
    auto *group = new QGroupBox(QStringLiteral("Basic Info"), parent);
    group->setObjectName(name);
    // The groups keep their height; the failure field makes do with the rest.
    group->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *form = new QFormLayout(group);
    form->setContentsMargins(8, 8, 8, 8);
    form->setHorizontalSpacing(8);
    form->setVerticalSpacing(8);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    return group;
}

QLineEdit *addField(QGroupBox *group, const QString &labelName, const QString &caption,
                    const QString &fieldName)
{
    auto *label = new QLabel(caption, group);
    label->setObjectName(labelName);
    auto *field = new QLineEdit(group);
    field->setObjectName(fieldName);
    field->setReadOnly(true);
    label->setBuddy(field);
    static_cast<QFormLayout *>(group->layout())->addRow(label, field);
    return field;
}

void showText(QLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setCursorPosition(0); // long texts show their beginning
}

} // namespace

PropertiesDialog::PropertiesDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("Tfm_info"));
    setWindowTitle(QStringLiteral("Properties"));

    QGroupBox *overall = basicInfoGroup(QStringLiteral("GroupBox_info1"), this);
    m_duration = addField(overall, QStringLiteral("lb_duration"), QStringLiteral("Duration:"),
                          QStringLiteral("ed_duration"));
    m_videoBitrate = addField(overall, QStringLiteral("lb_videobitrate"),
                              QStringLiteral("Bit Rate:"), QStringLiteral("ed_videobit"));

    QGroupBox *video = basicInfoGroup(QStringLiteral("GroupBox_info2"), this);
    m_videoFormat = addField(video, QStringLiteral("lb_videoformat"), QStringLiteral("Format:"),
                             QStringLiteral("ed_videoformat"));
    m_resolution = addField(video, QStringLiteral("lb_resolution"), QStringLiteral("Resolution:"),
                            QStringLiteral("ed_resolution"));
    m_frameRate = addField(video, QStringLiteral("lb_framerate"), QStringLiteral("Frame Rate:"),
                           QStringLiteral("ed_frame"));

    QGroupBox *audio = basicInfoGroup(QStringLiteral("GroupBox_info3"), this);
    m_audioFormat = addField(audio, QStringLiteral("lb_audioformat"), QStringLiteral("Format:"),
                             QStringLiteral("ed_audioformat"));
    m_audioBitrate = addField(audio, QStringLiteral("lb_audiobitrate"), QStringLiteral("Bit Rate:"),
                              QStringLiteral("ed_audiobit"));
    m_sampleRate = addField(audio, QStringLiteral("lb_samplerate"), QStringLiteral("Sample Rate:"),
                            QStringLiteral("ed_sample"));
    m_channels = addField(audio, QStringLiteral("lb_channels"), QStringLiteral("Channels:"),
                          QStringLiteral("ed_channels"));

    m_failureLabel = new QLabel(QStringLiteral("Failure reason:"), this);
    m_failureLabel->setObjectName(QStringLiteral("lb_failure"));
    m_failure = new QPlainTextEdit(this);
    m_failure->setObjectName(QStringLiteral("ed_failure"));
    m_failure->setReadOnly(true);
    m_failureLabel->setBuddy(m_failure);

    // One label column for the three groups, so that their fields line up.
    QList<QLabel *> labels = findChildren<QLabel *>();
    labels.removeOne(m_failureLabel);
    int labelWidth = 0;
    for (const QLabel *label : labels)
        labelWidth = qMax(labelWidth, label->sizeHint().width());
    for (QLabel *label : labels)
        label->setMinimumWidth(labelWidth);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Button1"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    // The two streams side by side leave the failure field room for a few lines.
    auto *streams = new QHBoxLayout;
    streams->setSpacing(8);
    streams->addWidget(video);
    streams->addWidget(audio);
    video->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred); // as tall as audio
    layout->addWidget(overall);
    layout->addLayout(streams);
    layout->addWidget(m_failureLabel);
    layout->addWidget(m_failure, 1);
    layout->addStretch(); // takes the failure field's room while it is hidden
    layout->addLayout(buttons);

    setFixedSize(556, 484);
    fill(Toriginalinfo{}, QString());
}

void PropertiesDialog::fill(const Toriginalinfo &info, const QString &failureReason)
{
    const QString kbps = QStringLiteral(" Kb/s");
    showText(m_duration, info.durationText);
    showText(m_videoBitrate, info.videoBitrate + kbps);
    showText(m_videoFormat, info.videoFormat);
    showText(m_resolution, info.resolution);
    showText(m_frameRate, info.frameRate);
    showText(m_audioFormat, info.audioFormat);
    showText(m_audioBitrate, info.audioBitrate + kbps);
    showText(m_sampleRate, info.sampleRate);
    showText(m_channels, info.channels);

    m_failure->setPlainText(failureReason);
    const bool failed = !failureReason.isEmpty();
    m_failureLabel->setVisible(failed);
    m_failure->setVisible(failed);
}

void PropertiesDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        centreOnOwner(*this);
        m_ok->setFocus(); // not the first field, whose whole text would show selected
    }
    QDialog::showEvent(event);
}
