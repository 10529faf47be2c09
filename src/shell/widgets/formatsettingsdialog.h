#pragma once

#include <QDialog>

class ChoiceList;
class FormatSettingsController;
class QButtonGroup;
class QComboBox;
struct FormatSettings;

// The format settings dialog `Tfm_set`: shows the four lists and the finish
// choice of the format settings, passes the user's choices back to them, and
// leaves OK, Cancel and the size check to the controller.
class FormatSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    FormatSettingsDialog(FormatSettings &settings, FormatSettingsController &controller,
                         QWidget *parent = nullptr);

    QComboBox *combo(const QString &name) const;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *addList(ChoiceList &list, const QString &name, bool editable);
    void showList(ChoiceList &list, QComboBox *combo);
    void showFinishItems();

    FormatSettings &m_settings;
    FormatSettingsController &m_controller;
    QButtonGroup *m_finish = nullptr;
    QComboBox *m_size = nullptr;
    bool m_showing = false; // state being shown: the widgets' signals are not the user's
};
