#pragma once

#include "core/commandstates.h"
#include "core/outputfolderfield.h"
#include "core/skinobjects.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

class JobList;
class JobListView;
class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

// The main window `Tfm_main`: the job list, the output folder, the command
// buttons and menus, and the named display objects the core writes to.
class MainWindow : public QMainWindow,
                   public SkinObjects,
                   public CommandStates,
                   public OutputFolderField
{
    Q_OBJECT
public:
    explicit MainWindow(JobList &jobs, QWidget *parent = nullptr);

    // Called on every showing and by the close query; the program wires them.
    std::function<void()> onShow;
    std::function<bool()> onCloseQuery;
    std::function<void()> onUpdateCommandStates;

    QAction *action(const QString &name) const;
    QPushButton *button(const QString &name) const;
    JobListView *jobListView() const { return m_list; }

    // SkinObjects
    void SetObjectText(const QString &object, const QString &text) override;
    void SetObjectVisible(const QString &object, bool visible) override;
    void SetSliderPosition(const QString &object, int position) override;
    int GetSliderPosition(const QString &object) override;
    void SetStatusText(const QString &text) override;
    void SetBarFraction(const QString &bar, int value, const QString &layoutSection,
                        int cap) override;
    void ShowPicture(const QString &object, const QString &path) override;

    // CommandStates
    void UpdateCommandStates() override;

    // OutputFolderField
    QString text() const override;
    void setText(const QString &text) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addNamedAction(QMenu *menu, const QString &name, const QString &caption);
    QPushButton *addNamedButton(const QString &name, const QString &caption);
    QWidget *named(const QString &name) const;

    JobListView *m_list = nullptr;
    QLineEdit *m_output = nullptr;
    QLabel *m_hint = nullptr;
    QLabel *m_picture = nullptr;
    QProgressBar *m_convertBar = nullptr;
    QWidget *m_convertInfo = nullptr;
    QHash<QString, QLabel *> m_texts;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QPushButton *> m_buttons;
    QHash<QString, int> m_sliders;
};
