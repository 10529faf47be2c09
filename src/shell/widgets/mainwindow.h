#pragma once

#include "core/commandstates.h"
#include "core/outputfolderfield.h"
#include "core/skinobjects.h"
#include "shell/skinlayout.h"
#include "shell/skin/windowdrag.h"

#include <QHash>
#include <QRect>
#include <QWidget>

#include <functional>

class JobList;
class JobListView;
class QAbstractButton;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class PickerPanels;

namespace skin
{
class ImageButton;
class SkinBoxFacet;
class SkinEngine;
class SkinObject;
class SkinSliderFacet;
class SkinTextFacet;
class SkinnedWindow;
} // namespace skin

// The main window `Tfm_main`: a frameless window whose face the skin draws, with
// the ordinary controls on top of it (the job list, image buttons, the output
// folder box, the preview surface), the six popup menus, and the named skin
// objects the rest of the program writes to.
class MainWindow : public QWidget,
                   public SkinObjects,
                   public CommandStates,
                   public OutputFolderField
{
    Q_OBJECT
public:
    static constexpr int kWidth = 781;
    static constexpr int kHeight = 558;

    explicit MainWindow(JobList &jobs, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Called on every showing and by the close query; the program wires them.
    std::function<void()> onShow;
    std::function<bool()> onCloseQuery;
    std::function<void()> onUpdateCommandStates;
    // A mouse button went down on an image button, the job list or the preview.
    std::function<void()> onControlMouseDown;
    // A click on the current category's picture `im_mainico`.
    std::function<void()> onIconClick;
    // Files or folders dropped anywhere on the window, also while the list is hidden.
    std::function<void(const QStringList &)> onPathsDropped;

    QAction *action(const QString &name) const;
    QMenu *menu(const QString &name) const;
    skin::ImageButton *button(const QString &name) const;
    JobListView *jobListView() const { return m_list; }
    QLineEdit *outputEdit() const { return m_output; }
    QWidget *control(const QString &name) const; // any named control of the form
    skin::SkinEngine &skinEngine() const { return *m_engine; }
    skin::SkinnedWindow *skinned() const { return m_skinned; }
    PickerPanels &pickerPanels() const { return *m_picker; }

    // The form's own pictures of the image buttons, where they are installed.
    void loadFormPictures(const QString &programFolder);

    // Loads the skin file, gives this window the form "popclipmill" and the
    // trimming window (when there is one) the form "cutter", and binds the named
    // objects the program writes to. The reason when the skin cannot be used.
    QString LoadSkinAndBindObjects(const QString &skinFile, QWidget *cutter);

    // Places and pictures from the layout file; the reason when a button picture
    // is missing (the pass stops there).
    QString ApplySkinLayout(const SkinLayout::Plan &plan);

    // Whether a skin object is shown and what it says; for the information panel,
    // hover texts and tests.
    QString objectText(const QString &object) const;
    bool objectShown(const QString &object) const;
    QRect objectRect(const QString &object) const;

    // SkinObjects
    void SetObjectText(const QString &object, const QString &text) override;
    void SetObjectVisible(const QString &object, bool visible) override;
    void SetSliderPosition(const QString &object, int position) override;
    int GetSliderPosition(const QString &object) override;
    void SetStatusText(const QString &text) override;
    void SetBarFraction(const QString &bar, int value, const QString &layoutSection,
                        int cap) override;
    void ShowPicture(const QString &object, const QString &path) override;

    // The width of a bar for a value, from its base rectangle's left edge.
    static int barRight(int baseLeft, int value, int cap, int width);

    // Reads the layout file's bar widths and menu places.
    void setLayout(const SkinLayout *layout) { m_layout = layout; }

    // CommandStates
    void UpdateCommandStates() override;

    // OutputFolderField
    QString text() const override;
    void setText(const QString &text) override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    struct Bound {
        skin::SkinObject *object = nullptr;
        skin::SkinBoxFacet *box = nullptr;
        skin::SkinTextFacet *text = nullptr;
        skin::SkinSliderFacet *slider = nullptr;
    };

    void buildControls(JobList &jobs);
    void buildMenus();
    void loadMenuImages(const QString &programFolder);
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, int image = -1);
    skin::ImageButton *addButton(const QString &name, const QString &hint, const QRect &place,
                                 const QString &label);
    void bind(skin::SkinnedWindow *window, const QStringList &names);
    skin::SkinObject *skinObject(const QString &name) const;

    skin::SkinEngine *m_engine = nullptr;
    skin::SkinnedWindow *m_skinned = nullptr;
    skin::SkinnedWindow *m_cutterSkin = nullptr;
    const SkinLayout *m_layout = nullptr;
    QHash<QString, Bound> m_bound;
    QRect m_baseConvert, m_basePlay, m_baseCutPlay;

    JobListView *m_list = nullptr;
    QLineEdit *m_output = nullptr;
    QWidget *m_preview = nullptr;
    PickerPanels *m_picker = nullptr;
    QWidget *m_titleStrip = nullptr;
    QLabel *m_titlePicture = nullptr;
    QWidget *m_iconPanel = nullptr;
    QLabel *m_icon = nullptr;
    QHash<QString, skin::ImageButton *> m_buttons;
    QHash<QString, QAction *> m_actions;
    QList<QAction *> m_allItems; // every item of every menu, pop_dvd's too
    QHash<QString, QMenu *> m_menus;
    skin::WindowDrag m_drag; // img_name moves the window
    bool m_placed = false;
};
