#pragma once

#include "app/firstshowsequence.h"
#include "core/conversionqueue.h"
#include "core/edition.h"
#include "core/encoderrun.h"
#include "core/fileimporter.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/jobrecords.h"
#include "core/merger.h"
#include "core/pipedprocess.h"
#include "core/profilestate.h"
#include "core/queuesettings.h"
#include "dvd/dvdtables.h"
#include "core/requestbuilder.h"
#include "platform/qtuiposter.h"
#include "platform/xdgshellactions.h"
#include "profiles/formatsettingscontroller.h"
#include "profiles/pickerstate.h"
#include "profiles/profilepicker.h"
#include "profiles/profileselector.h"
#include "profiles/rememberedchoices.h"
#include "shell/interfacestrings.h"
#include "shell/settingsfiles.h"
#include "shell/widgets/qtfiledialogs.h"
#include "shell/widgets/widgetmessageboxes.h"

#include <memory>

class BackgroundMode;
class DvdDiscovery;
class StreamChoice;
class IfoSource;
class TitleListing;
class FolderDialog;
class ShortcutFilter;
class Shortcuts;
class FormatSettingsDialog;
class PropertiesCommand;
class PropertiesDialog;
class SkinCommands;
class SkinLayout;
class MainWindow;
class NamedDialog;
class QWidget;

// The program: creates the windows in their fixed order, holds the state the
// main window's handlers share, and wires the commands to the logic.
class ConverterApp
{
public:
    // argv0 is the name the program was started under; it selects the edition.
    ConverterApp(QString argv0, QString programFolder, QString configFolder);
    ~ConverterApp();

    MainWindow &mainWindow() { return *m_main; }
    JobList &jobs() { return m_jobs; }
    FileImporter &importer() { return *m_importer; }
    ConversionQueue &queue() { return *m_queue; }
    FormatSettingsDialog &settingsDialog() { return *m_set; }
    const Edition &edition() const { return m_edition; }
    bool startupDone() const { return m_startupDone; }
    bool seekDragging() const { return m_seekDragging; }
    FolderDialog &folderDialog() { return *m_dir; }
    PropertiesCommand &properties() { return *m_properties; }
    PropertiesDialog &propertiesDialog() { return *m_info; }
    NamedDialog &aboutDialog() { return *m_about; }
    SkinCommands &skinCommands() { return *m_skinCommands; }
    const SkinLayout &skinLayout() const { return *m_layout; }
    ProfilePicker &picker() { return *m_profilePicker; }
    PickerState &pickerState() { return m_picker; }
    ProfileState &profile() { return m_profile; }
    BackgroundMode &background() { return *m_background; }
    DvdTables &dvdTables() { return m_dvd; }
    bool quitting() const { return m_quitting; }
    DvdDiscovery &discovery() { return *m_discovery; }

private:
    void FormCreate();
    void buildFirstShowSequence();
    void applyCaptions();
    void connectCommands();
    void updateCommandStates();
    void applySkinLayout();
    void applyEdition();
    void connectSkin();
    void showAbout();
    void openHelp();
    void checkAll(bool checked, bool storeForView = false);
    void runBackground();
    void quitNow();
    void pathsDropped(const QStringList &paths);
    void runEnded();
    void buildShortcuts();
    void lvClick();
    void switchView();
    void applyPickerCaptions();
    // What the pointer over a skin object or an image button shows.
    void Skin1MouseMove(const QString &object);
    void Skin1MouseDown(const QString &object, Qt::MouseButton button);
    // Nothing plays before the preview engine exists; it will answer here.
    bool previewPlaying() const { return false; }

    QString m_argv0;
    QString m_programFolder;
    QString m_configFolder;

    Edition m_edition;
    bool m_startupDone = false;

    JobList m_jobs;
    ProfileState m_profile;
    FormatSettings m_format;
    QueueSettings m_queueSettings;
    PickerState m_picker;
    intputrec m_request;

    std::unique_ptr<MainWindow> m_main;
    WidgetMessageBoxes m_boxes;
    XdgShellActions m_shell;
    std::unique_ptr<InterfaceStrings> m_texts;
    std::unique_ptr<RequestBuilder> m_builder;
    std::unique_ptr<RememberedChoices> m_remembered;
    std::unique_ptr<ProfileSelector> m_selector;
    std::unique_ptr<ProfilePicker> m_profilePicker;
    int m_leftMoveInt = 6;
    std::unique_ptr<FormatSettingsController> m_formatController;
    std::unique_ptr<SettingsFiles> m_settings;
    std::unique_ptr<QtUiPoster> m_poster;
    std::unique_ptr<PipedProcess> m_piped;
    std::unique_ptr<EncoderRun> m_encoder;
    std::unique_ptr<Merger> m_merge;
    QtFileDialogs m_fileDialogs;
    std::unique_ptr<FileImporter> m_importer;
    std::unique_ptr<ConversionQueue> m_queue;
    std::unique_ptr<SkinLayout> m_layout;
    std::unique_ptr<SkinCommands> m_skinCommands;
    FirstShowSequence m_firstShow;

    std::unique_ptr<FolderDialog> m_dir;
    std::unique_ptr<NamedDialog> m_about;
    std::unique_ptr<FormatSettingsDialog> m_set;
    std::unique_ptr<PropertiesDialog> m_info;
    std::unique_ptr<NamedDialog> m_dvdcutter;
    std::unique_ptr<PropertiesCommand> m_properties;
    bool m_seekDragging = false; // the pointer went down on a seek bar
    bool m_quitting = false;     // X ends the program without the close query
    DvdTables m_dvd;
    int m_previewRow = -1; // the row preview and stills use
    std::unique_ptr<IfoSource> m_ifoReader;
    std::unique_ptr<TitleListing> m_listing;
    std::unique_ptr<DvdDiscovery> m_discovery;
    std::unique_ptr<StreamChoice> m_streams;
    BackgroundMode *m_background = nullptr; // owned by the main window
    std::unique_ptr<Shortcuts> m_shortcuts;
    std::unique_ptr<ShortcutFilter> m_shortcutFilter;
    // Every window whose controls take captions, the main window first.
    std::vector<QWidget *> captionedWindows() const;
};
