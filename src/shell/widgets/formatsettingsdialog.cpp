#include "shell/widgets/formatsettingsdialog.h"

#include "core/choicelist.h"
#include "core/formatsettings.h"
#include "profiles/formatsettingscontroller.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FormatSettingsDialog::FormatSettingsDialog(FormatSettings &settings,
                                           FormatSettingsController &controller, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_controller(controller)
{
    setObjectName(QStringLiteral("Tfm_set"));
    setWindowTitle(QStringLiteral("Settings"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    auto *format = new QGroupBox(QStringLiteral("Format Settings"), this);
    format->setObjectName(QStringLiteral("GroupBox1"));
    auto *form = new QFormLayout(format);
    const auto row = [&](const char *labelName, const char *caption, QComboBox *combo) {
        auto *label = new QLabel(QString::fromUtf8(caption), format);
        label->setObjectName(QString::fromUtf8(labelName));
        label->setBuddy(combo);
        form->addRow(label, combo);
    };
    m_size = addList(m_settings.cb_size, QStringLiteral("cb_size"), true);
    m_size->setToolTip(QStringLiteral("Video Quality"));
    row("Label1", "Video Size:", m_size);
    row("Label2", "Video Quality:",
        addList(m_settings.cb_videobitrate, QStringLiteral("cb_videobitrate"), false));
    row("Label4", "Audio Quality:",
        addList(m_settings.cb_audiobitrate, QStringLiteral("cb_audiobitrate"), false));
    row("Label3", "Channel:", addList(m_settings.cb_channel, QStringLiteral("cb_channel"), false));
    layout->addWidget(format);

    auto *finish = new QGroupBox(QStringLiteral("Output Settings"), this);
    finish->setObjectName(QStringLiteral("rg_finish"));
    auto *finishLayout = new QVBoxLayout(finish);
    m_finish = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto *choice = new QRadioButton(finish);
        choice->setObjectName(QStringLiteral("rg_finish_%1").arg(i));
        m_finish->addButton(choice, i);
        finishLayout->addWidget(choice);
    }
    connect(m_finish, &QButtonGroup::idClicked, this,
            [this](int id) { m_settings.rg_finish = id; });
    layout->addWidget(finish);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(ok, &QPushButton::clicked, this, [this] {
        m_controller.Button1Click();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_controller.Button2Click();
        reject();
    });
    layout->addWidget(buttons);
    showFinishItems();
}

QComboBox *FormatSettingsDialog::combo(const QString &name) const
{
    return findChild<QComboBox *>(name);
}

QComboBox *FormatSettingsDialog::addList(ChoiceList &list, const QString &name, bool editable)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setEditable(editable);
    combo->setMinimumContentsLength(28);
    if (editable) {
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->lineEdit()->installEventFilter(this);
        connect(combo, &QComboBox::editTextChanged, this, [this, &list](const QString &text) {
            if (!m_showing)
                list.setTypedText(text);
        });
    }
    connect(combo, &QComboBox::activated, this, [this, &list](int index) {
        if (!m_showing)
            list.setSelected(index);
    });
    connect(&list, &ChoiceList::changed, this, [this, &list, combo] { showList(list, combo); });
    showList(list, combo);
    return combo;
}

void FormatSettingsDialog::showList(ChoiceList &list, QComboBox *combo)
{
    m_showing = true;
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    if (shown != list.items()) {
        combo->clear();
        combo->addItems(list.items());
    }
    combo->setCurrentIndex(list.selected());
    if (combo->isEditable() && combo->currentText() != list.text())
        combo->setEditText(list.text());
    combo->setEnabled(list.isEnabled());
    m_showing = false;
}

void FormatSettingsDialog::showFinishItems()
{
    const QList<QAbstractButton *> choices = m_finish->buttons();
    for (int i = 0; i < choices.size(); ++i) {
        choices[i]->setText(m_settings.finishItems.value(i));
        choices[i]->setChecked(i == m_settings.rg_finish);
    }
}

void FormatSettingsDialog::showEvent(QShowEvent *event)
{
    m_controller.show();
    showFinishItems();
    QDialog::showEvent(event);
}

bool FormatSettingsDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the size box for another control checks the size; its own pop-up list
    // or the dialog closing does not.
    if (event->type() == QEvent::FocusOut && watched == m_size->lineEdit()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
            reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason)
            m_controller.cb_sizeExit();
    }
    return QDialog::eventFilter(watched, event);
}
