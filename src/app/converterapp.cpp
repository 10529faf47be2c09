#include "app/converterapp.h"

#include "core/commandline.h"
#include "core/consoleencoderprocess.h"
#include "dvd/dvddiscovery.h"
#include "dvd/streamchoice.h"
#include "dvd/titlelisting.h"
#include "platform/paths.h"
#include "profiles/catalogue.h"
#include "shell/captions.h"
#include "shell/commandstatetable.h"
#include "shell/shortcuts.h"
#include "shell/skincommands.h"
#include "shell/skinlayout.h"
#include "shell/skin/imagebutton.h"
#include "shell/skin/skinengine.h"
#include "shell/widgets/dialogs.h"
#include "shell/widgets/folderdialog.h"
#include "shell/widgets/formatsettingsdialog.h"
#include "shell/widgets/joblistview.h"
#include "shell/widgets/mainwindow.h"
#include "shell/widgets/pickerpanels.h"
#include "shell/widgets/backgroundmode.h"
#include "shell/widgets/shortcutfilter.h"
#include "shell/widgets/propertiescommand.h"
#include "shell/widgets/propertiesdialog.h"
#include "shell/widgets/theme.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QThread>

ConverterApp::ConverterApp(QString argv0, QString programFolder, QString configFolder)
    : m_argv0(std::move(argv0)), m_programFolder(std::move(programFolder)),
      m_configFolder(std::move(configFolder))
{
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        theme::apply(*app);
    QCoreApplication::setApplicationVersion(QStringLiteral(MARLO_VERSION));
    // The program's mark on its windows, the task bar and the tray icon.
    {
        QIcon icon;
        for (const char *name : {"/images/marlo.png", "/images/marlo@2x.png"})
            if (const QPixmap picture(m_programFolder + QString::fromLatin1(name)); !picture.isNull())
                icon.addPixmap(picture);
        if (icon.isNull())
            icon = QIcon::fromTheme(QStringLiteral("video-x-generic"));
        QApplication::setWindowIcon(icon);
    }
    m_main = std::make_unique<MainWindow>(m_jobs);
    m_boxes.setParent(m_main.get());
    FormCreate();

    m_builder = std::make_unique<RequestBuilder>(m_jobs, m_edition, m_profile, m_format, *m_texts);
    m_remembered = std::make_unique<RememberedChoices>(m_edition, m_format);
    const auto recompute = [this] { m_builder->recomputeOutputSizes(m_jobs); };
    m_selector = std::make_unique<ProfileSelector>(
        ProfileSelector::Context{.profile = m_profile,
                                 .settings = m_format,
                                 .remembered = *m_remembered,
                                 .edition = m_edition,
                                 .texts = *m_texts,
                                 .boxes = m_boxes,
                                 .skin = *m_main,
                                 .programFolder = m_programFolder,
                                 .recomputeOutputSizes = recompute});
    m_profilePicker = std::make_unique<ProfilePicker>(ProfilePicker::Context{
        .profile = m_profile,
        .state = m_picker,
        .edition = m_edition,
        .texts = *m_texts,
        .boxes = m_boxes,
        .view = m_main->pickerPanels(),
        .programFolder = m_programFolder,
        .converting = [this] { return m_queue && m_queue->converting(); },
        .previewPlaying = [this] { return previewPlaying(); },
        .selectProfile = [this](int n) { m_selector->selectProfile(n); },
        .leftMoveInt = [this] { return m_leftMoveInt; }});
    m_main->pickerPanels().setPicker(m_profilePicker.get());
    m_formatController = std::make_unique<FormatSettingsController>(
        FormatSettingsController::Context{.settings = m_format,
                                          .queue = m_queueSettings,
                                          .profile = m_profile,
                                          .remembered = *m_remembered,
                                          .texts = *m_texts,
                                          .boxes = m_boxes,
                                          .recomputeOutputSizes = recompute});
    m_settings = std::make_unique<SettingsFiles>(
        SettingsFiles::Context{.edition = m_edition,
                               .configFolder = m_configFolder,
                               .profile = m_profile,
                               .picker = m_picker,
                               .queue = m_queueSettings,
                               .outputField = *m_main,
                               .remembered = *m_remembered,
                               .skin = *m_main,
                               .selectProfile = [this](int n) { m_selector->selectProfile(n); },
                               .defaultOutputFolder = &paths::defaultOutputFolder});
    m_poster = std::make_unique<QtUiPoster>(m_main.get());
    m_piped = std::make_unique<PipedProcess>(*m_poster);
    m_encoder = std::make_unique<EncoderRun>(EncoderRun::Context{
        .jobs = m_jobs,
        .skin = *m_main,
        .texts = *m_texts,
        .boxes = m_boxes,
        .makeProcess = [this] { return std::make_unique<ConsoleEncoderProcess>(*m_poster); },
        .rowPointer = [this] { return m_queue->rowPointer(); },
        .converting = [this] { return m_queue->converting(); },
        .setPauseCaption =
            [this](const QString &caption) {
                if (QAction *a = m_main->action(QStringLiteral("Pause1")))
                    a->setText(caption);
            },
        .ended = [this](int exitCode) { m_queue->JvCreateProcessTerminate(exitCode); }});
    m_merge = std::make_unique<Merger>(Merger::Context{.jobs = m_jobs,
                                                       .settings = m_queueSettings,
                                                       .profile = m_profile,
                                                       .request = m_request,
                                                       .runner = *m_piped,
                                                       .programFolder = m_programFolder});
    m_fileDialogs.setParent(m_main.get());
    m_importer = std::make_unique<FileImporter>(
        FileImporter::Context{.jobs = m_jobs,
                              .builder = *m_builder,
                              .runner = *m_piped,
                              .dialogs = m_fileDialogs,
                              .boxes = m_boxes,
                              .texts = *m_texts,
                              .commands = *m_main,
                              .encoderPath = m_request.encoderPath,
                              .workDir = m_request.workDir,
                              .converting = [this] { return m_queue->converting(); },
                              .showJobList = [this] { m_main->jobListView()->setVisible(true); },
                              .lvClick = [this] { lvClick(); },
                              .processEvents = [] { QCoreApplication::processEvents(); }});
    m_ifoReader = makeIfoReader();
    m_listing = std::make_unique<TitleListing>(TitleListing::Context{
        .jobs = m_jobs,
        .tables = m_dvd,
        .texts = *m_texts,
        .reader = *m_ifoReader,
        .setEstimateRow = [this](int row) { m_builder->setEstimateRow(row); },
        .outputSize = [this](int64_t seconds) {
            return outputSizeText(m_builder->estimateKbps(), int32_t(seconds));
        }});
    const auto showList = [this](const char *name) {
        return [this, name](const QStringList &items, int current) {
            if (auto *combo = m_main->findChild<QComboBox *>(QString::fromLatin1(name))) {
                combo->clear();
                combo->addItems(items);
                combo->setCurrentIndex(current < items.size() ? current : -1);
            }
        };
    };
    m_streams = std::make_unique<StreamChoice>(StreamChoice::Context{.jobs = m_jobs,
                                                                     .tables = m_dvd,
                                                                     .texts = *m_texts,
                                                                     .showAudio = showList("cb_audio"),
                                                                     .showSubtitles = showList("cb_subtitle")});
    for (const char *name : {"cb_audio", "cb_subtitle"})
        if (auto *combo = m_main->findChild<QComboBox *>(QString::fromLatin1(name)))
            QObject::connect(combo, &QComboBox::activated, combo, [this, name](int index) {
                if (QLatin1String(name) == QLatin1String("cb_audio"))
                    m_streams->cb_audioChange(index);
                else
                    m_streams->cb_subtitleChange(index);
            });
    m_discovery = std::make_unique<DvdDiscovery>(DvdDiscovery::Context{
        .jobs = m_jobs,
        .tables = m_dvd,
        .listing = *m_listing,
        .dialogs = m_fileDialogs,
        .boxes = m_boxes,
        .texts = *m_texts,
        .commands = *m_main,
        .converting = [this] { return m_queue && m_queue->converting(); },
        .previewPlaying = [this] { return previewPlaying(); },
        .showJobList = [this] { m_main->jobListView()->setVisible(true); },
        .setListEnabled = [this](bool on) { m_main->jobListView()->setEnabled(on); },
        .lvClick = [this] { lvClick(); },
        .processEvents = [] { QCoreApplication::processEvents(); },
        .onOpticalDrive = [](const QString &folder) { return DvdDiscovery::isOnOpticalDrive(folder); },
        .waitForDrive =
            [](const QString &folder) {
                QApplication::setOverrideCursor(Qt::BusyCursor);
                DvdDiscovery::waitUntilReadable(folder, [] { QCoreApplication::processEvents(); });
                QApplication::restoreOverrideCursor();
            }});
    m_queue = std::make_unique<ConversionQueue>(
        QueueContext{.jobs = m_jobs,
                     .edition = m_edition,
                     .settings = m_queueSettings,
                     .profile = m_profile,
                     .builder = *m_builder,
                     .request = m_request,
                     .encoder = *m_encoder,
                     .merge = *m_merge,
                     .boxes = m_boxes,
                     .texts = *m_texts,
                     .commands = *m_main,
                     .shell = m_shell,
                     .outputField = *m_main,
                     .previewPlaying = [this] { return previewPlaying(); },
                     .defaultOutputFolder = &paths::defaultOutputFolder,
                     .importing = [this] { return m_importer && m_importer->importing(); },
                     .runEnded = [this] { runEnded(); }});

    m_main->onShow = [this] { m_firstShow.FormShow(!m_edition.exeFileName().isEmpty()); };
    m_main->onCloseQuery = [this] { return m_quitting || m_settings->closeQuery(); };
    m_main->onUpdateCommandStates = [this] { updateCommandStates(); };
    m_layout = std::make_unique<SkinLayout>(m_programFolder);
    m_main->setLayout(m_layout.get());
    m_skinCommands = std::make_unique<SkinCommands>(
        SkinCommands::Context{.boxes = m_boxes,
                              .texts = *m_texts,
                              .layout = *m_layout,
                              .converting = [this] { return m_queue->converting(); },
                              .previewPlaying = [this] { return previewPlaying(); },
                              .titleView = [this] { return m_dvd.titleView; },
                              .exeFileName = [this] { return m_edition.exeFileName(); },
                              .windowTopLeft = [this] { return m_main->geometry().topLeft(); }});
    m_skinCommands->setMenuOpener([this](const QString &menu, const QPoint &at) {
        if (QMenu *m = m_main->menu(menu))
            m->popup(at);
    });
    m_background = new BackgroundMode(m_main.get());
    buildFirstShowSequence();
    connectCommands();
    buildShortcuts();
    // A new selection enables or disables the commands that need one.
    QObject::connect(&m_jobs, &JobList::selectionChanged, m_main.get(),
                     [this] { updateCommandStates(); });
    // A click in the list shows the row's length and remembers the DVD view's marks.
    QObject::connect(m_main->jobListView(), &QAbstractItemView::clicked, m_main.get(),
                     [this] { lvClick(); });

    // The dialogs exist, hidden, from start-up on, in this order after the main window.
    m_dir = std::make_unique<FolderDialog>(m_main.get());
    m_fileDialogs.setFolderDialog(m_dir.get());
    m_about = std::make_unique<NamedDialog>(QStringLiteral("Tfm_about"), QStringLiteral("About"),
                                            m_main.get());
    m_set = std::make_unique<FormatSettingsDialog>(m_format, *m_formatController, m_main.get());
    m_info = std::make_unique<PropertiesDialog>(m_main.get());
    m_properties = std::make_unique<PropertiesCommand>(PropertiesCommand::Context{
        .jobs = m_jobs, .boxes = m_boxes, .texts = *m_texts, .dialog = *m_info});
    m_dvdcutter = std::make_unique<NamedDialog>(QStringLiteral("Tfm_dvdcutter"),
                                                QStringLiteral("Cut"), m_main.get());
}

namespace
{

void processEventsUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

} // namespace

ConverterApp::~ConverterApp()
{
    if (m_shortcutFilter)
        QCoreApplication::instance()->removeEventFilter(m_shortcutFilter.get());
    // Leave no half-written file behind: a running row is stopped the way Stop does
    // it, so the encoder finishes the file it has, and a merge still running completes.
    if (m_queue && m_queue->converting()) {
        m_queue->stopConversion();
        processEventsUntil([this] { return !m_encoder->processRunning(); }, 15000);
    }
    if (m_piped && m_piped->busy())
        m_piped->waitUntilDone();

    // The encoder and helper children end with the window; dialogs go first, they
    // are children of the main window.
    m_queue.reset();
    m_importer.reset();
    m_encoder.reset();
    m_dvdcutter.reset();
    m_properties.reset();
    m_info.reset();
    m_fileDialogs.setFolderDialog(nullptr);
    m_set.reset();
    m_about.reset();
    m_dir.reset();
}

void ConverterApp::FormCreate()
{
    m_edition.setExeFileName(QString());
    m_startupDone = false;
    m_profile.currentCategory = -1;
    m_profile.activeProfile = -1;
    m_texts = std::make_unique<InterfaceStrings>(InterfaceStrings::Context{
        .programFolder = m_programFolder,
        .edition = m_edition,
        .skin = *m_main,
        .boxes = m_boxes,
        .converting = [this] { return m_queue && m_queue->converting(); }});
    m_request.encoderPath = m_programFolder + QStringLiteral("/register.dat");
    m_request.workDir = m_programFolder;
    m_main->loadFormPictures(m_programFolder);
}

void ConverterApp::buildFirstShowSequence()
{
    MainWindow &w = *m_main;
    m_firstShow.onError = [this](const QString &why) { m_boxes.error(why); };
    m_firstShow.setSteps({
        {QStringLiteral("ApplyCaptions"), [this] { applyCaptions(); }},
        {QStringLiteral("LoadSkinAndBindObjects"),
         [this, &w] {
             const QString why = w.LoadSkinAndBindObjects(
                 m_programFolder + QStringLiteral("/skn.skn"), m_dvdcutter.get());
             if (!why.isEmpty())
                 throw StartupError(QStringLiteral("The skin cannot be loaded: ") + why);
         }},
        {QStringLiteral("HideProfilePanels"), [this] { m_profilePicker->HideProfilePanels(); }},
        {QStringLiteral("StoreExeFileName"),
         [this] { m_edition.setExeFileName(exeFileNameFromArgv0(m_argv0)); }},
        {QStringLiteral("ApplySkinLayout"), [this] { applySkinLayout(); }},
        {QStringLiteral("LoadPickerPictures"),
         [this] {
             applyPickerCaptions();
             m_profilePicker->loadAllButtonPictures();
             m_profilePicker->loadCategoryPictures();
         }},
        {QStringLiteral("LoadSettings"), [this] { m_settings->LoadSettings(); }},
        {QStringLiteral("HideJobList"), [&w] { w.jobListView()->setVisible(false); }},
        {QStringLiteral("FocusAddDvd"),
         [&w] {
             if (QAbstractButton *b = w.button(QStringLiteral("bt_dvdopen")))
                 b->setFocus();
         }},
        {QStringLiteral("ClearPreviewFlag"), [] {}},
        {QStringLiteral("UpdateCommandStates"), [this] { updateCommandStates(); }},
        {QStringLiteral("HidePlayBar"),
         [&w] { w.SetObjectVisible(QStringLiteral("play_bar"), false); }},
        {QStringLiteral("ResetBars"),
         [&w] {
             w.SetBarFraction(QStringLiteral("convertpos"), 0, QStringLiteral("convert"), 9999);
             w.SetBarFraction(QStringLiteral("playpos"), 0, QStringLiteral("Play"), 10000);
             w.SetBarFraction(QStringLiteral("cutplaypos"), 0, QStringLiteral("CutPlay"), 9999);
         }},
        {QStringLiteral("HideConvertInfo"),
         [&w] { w.SetObjectVisible(QStringLiteral("convertinfo"), false); }},
        {QStringLiteral("StartupDone"), [this] { m_startupDone = true; }},
    });
}

std::vector<QWidget *> ConverterApp::captionedWindows() const
{
    return {m_main.get(), m_dir.get(), m_about.get(), m_set.get(), m_info.get(), m_dvdcutter.get()};
}

void ConverterApp::applyCaptions()
{
    MainWindow &w = *m_main;
    captions::applyListCaptions(*m_texts, m_format);
    for (const CaptionEntry &e : captions::table()) {
        const QString text = captions::lookUp(*m_texts, e);
        const QString target = QString::fromUtf8(e.target);
        if (target.startsWith(QLatin1String("lv#"))) {
            w.jobListView()->setColumnCaption(target.mid(3).toInt(), text);
            continue;
        }
        if (QAction *a = w.action(target)) {
            a->setText(text);
            continue;
        }
        for (QWidget *window : captionedWindows()) {
            if (!window)
                continue;
            if (window->objectName() == target) {
                window->setWindowTitle(text);
                break;
            }
            QWidget *control = window->findChild<QWidget *>(target);
            if (!control)
                continue;
            if (e.kind == CaptionEntry::ToolTip)
                control->setToolTip(text);
            else if (auto *button = qobject_cast<QAbstractButton *>(control))
                button->setText(text);
            else if (auto *label = qobject_cast<QLabel *>(control))
                label->setText(text);
            else if (auto *group = qobject_cast<QGroupBox *>(control))
                group->setTitle(text);
            break;
        }
    }
}

void ConverterApp::connectCommands()
{
    MainWindow &w = *m_main;
    const auto onClick = [&w](const QString &button, auto handler) {
        if (QAbstractButton *b = w.button(button))
            QObject::connect(b, &QAbstractButton::clicked, b, handler);
    };
    const auto onAction = [&w](const QString &action, auto handler) {
        if (QAction *a = w.action(action))
            QObject::connect(a, &QAction::triggered, a, handler);
    };
    onClick(QStringLiteral("bt_start"), [this] { m_queue->startConversion(); });
    onAction(QStringLiteral("Convert2"), [this] { m_queue->startConversion(); });
    onClick(QStringLiteral("Bt_Convertstop"), [this] { m_queue->stopConversion(); });
    onAction(QStringLiteral("Stop2"), [this] { m_queue->stopConversion(); });
    onClick(QStringLiteral("bt_remove"), [this] { m_queue->removeRows(); });
    onAction(QStringLiteral("Remove1"), [this] { m_queue->removeRows(); });
    onClick(QStringLiteral("bt_clear"), [this] { m_queue->clearRows(); });
    onAction(QStringLiteral("Clear2"), [this] { m_queue->clearRows(); });
    onAction(QStringLiteral("Exit2"), [&w] { w.close(); });
    onClick(QStringLiteral("bt_pause"), [this] { m_encoder->togglePause(); });
    onAction(QStringLiteral("Pause1"), [this] { m_encoder->togglePause(); });
    // The window's stand-ins for skin objects go through the skin's click dispatch.
    m_skinCommands->setAction(QStringLiteral("mainclose"), [&w] { w.close(); });
    m_skinCommands->setAction(QStringLiteral("openfiles"), [this] { m_importer->addFiles(); });
    m_skinCommands->setAction(QStringLiteral("openfolder"), [this] { m_importer->addFolder(); });
    m_skinCommands->setAction(QStringLiteral("converter"), [this] { m_queue->startConversion(); });
    m_skinCommands->setAction(QStringLiteral("stopconverter"),
                              [this] { m_queue->stopConversion(); });
    m_skinCommands->setAction(QStringLiteral("remove"), [this] { m_queue->removeRows(); });
    m_skinCommands->setAction(QStringLiteral("clear"), [this] { m_queue->clearRows(); });
    m_skinCommands->setAction(QStringLiteral("browse"), [this] {
        m_queue->chooseOutputFolder(m_fileDialogs.chooseFolder(m_texts->LoadInterfaceString(37)));
    });
    m_skinCommands->setAction(QStringLiteral("open"), [this, &w] {
        const QString folder = ConversionQueue::absoluteOutputFolder(w.text(), QDir::homePath());
        QDir().mkpath(folder);
        m_shell.openFolder(folder);
    });
    // The file edition has no DVD commands: its Add DVD and Add IFO controls add
    // files and folders, as the File menu's items say.
    const auto addDvd = [this] {
        if (m_edition.isFileEdition())
            m_importer->addFiles();
        else
            m_discovery->addDvd();
    };
    const auto addIfo = [this] {
        if (m_edition.isFileEdition())
            m_importer->addFolder();
        else
            m_discovery->addIfo();
    };
    m_skinCommands->setAction(QStringLiteral("dvdopen"), addDvd);
    m_skinCommands->setAction(QStringLiteral("ifoopen"), addIfo);
    onClick(QStringLiteral("bt_chapte"), [this] { switchView(); });
    m_skinCommands->setAction(QStringLiteral("chapter"), [this] { switchView(); });
    onClick(QStringLiteral("bt_dvdopen"), addDvd);
    onAction(QStringLiteral("AddFiles2"), addDvd);
    onAction(QStringLiteral("MenuItem3"), addDvd);
    onClick(QStringLiteral("bt_ifo"), addIfo);
    onAction(QStringLiteral("AddFolder2"), addIfo);
    onAction(QStringLiteral("MenuItem8"), addIfo);
    onAction(QStringLiteral("Convert1"), [this] {
        if (!m_queue->converting())
            m_queue->startConversion();
    });
    onAction(QStringLiteral("Stop1"), [this] { m_queue->stopConversion(); });
    onAction(QStringLiteral("Exit1"), [&w] { w.close(); });
    onAction(QStringLiteral("Properties1"), [this] { m_properties->Properties1Click(); });
    onAction(QStringLiteral("About1"), [this] { showAbout(); });
    onAction(QStringLiteral("Help1"), [this] { openHelp(); });
    onAction(QStringLiteral("SelectAll1"), [this] { checkAll(true); });
    onAction(QStringLiteral("UnselectAll1"), [this] { checkAll(false); });
    // The DVD menu's variants also remember the marks for the current view.
    onAction(QStringLiteral("MenuItem10"), [this] { checkAll(true, true); });
    onAction(QStringLiteral("MenuItem11"), [this] { checkAll(false, true); });
    onAction(QStringLiteral("Rename1"), [&w] { w.jobListView()->Rename1Click(); });
    onAction(QStringLiteral("RunBackground1"), [this] { runBackground(); });
    w.onPathsDropped = [this](const QStringList &paths) { pathsDropped(paths); };
    connectSkin();
    onClick(QStringLiteral("bt_mergeyse"), [this, &w] {
        m_queueSettings.mergeOn = false;
        w.SetObjectVisible(QStringLiteral("bt_mergeyse"), false);
        w.SetObjectVisible(QStringLiteral("bt_mergeno"), true);
    });
    onClick(QStringLiteral("bt_mergeno"), [this, &w] {
        m_queueSettings.mergeOn = true;
        w.SetObjectVisible(QStringLiteral("bt_mergeyse"), true);
        w.SetObjectVisible(QStringLiteral("bt_mergeno"), false);
    });
    // The dialog runs OK, Cancel and the size check itself.
    const auto openSettings = [this] { m_set->exec(); };
    onClick(QStringLiteral("bt_set"), openSettings);
    onAction(QStringLiteral("settings"), openSettings);
}

void ConverterApp::updateCommandStates()
{
    MainWindow &w = *m_main;
    CommandStateTable::Inputs in;
    in.hasRows = !m_jobs.isEmpty();
    in.anySelected = m_jobs.anySelected();
    in.previewPlaying = previewPlaying();
    in.converting = m_queue && m_queue->converting();
    in.settling = (m_queue && m_queue->stopping()) || (m_importer && m_importer->importing());
    const CommandStateTable::States states = CommandStateTable::compute(in);
    for (const QString &name : CommandStateTable::items()) {
        if (QAbstractButton *b = w.button(name))
            b->setEnabled(states.isEnabled(name));
        if (QAction *a = w.action(name))
            a->setEnabled(states.isEnabled(name));
    }
    if (QAbstractButton *b = w.button(QStringLiteral("bt_start")))
        b->setVisible(states.startShown);
    if (QAbstractButton *b = w.button(QStringLiteral("Bt_Convertstop")))
        b->setVisible(states.stopShown);
    // The skin's start and stop objects lie under the buttons they stand for.
    w.SetObjectVisible(QStringLiteral("converter"), states.startShown);
    w.SetObjectVisible(QStringLiteral("stopconverter"), states.stopShown);
    // The skin's own add buttons look as Add DVD does; their clicks refuse by themselves.
    if (skin::SkinnedWindow *skinned = w.skinned())
        for (const char *name : {"openfiles", "openfolder", "dvdopen", "ifoopen"})
            if (skin::SkinObject *o = skinned->FindObject(QString::fromLatin1(name)))
                o->setEnabled(states.isEnabled(QStringLiteral("bt_dvdopen")));
}

void ConverterApp::applySkinLayout()
{
    if (!m_layout->exists()) {
        // The controls keep the form's places; every reader gets its defaults.
        m_boxes.information(m_texts->LookUpText(
            QStringLiteral("MessageDlg"),
            QStringLiteral("The program file cannot be found, please install again."),
            QStringLiteral("The program file cannot be found, please install again.")));
        return;
    }
    const std::optional<SkinLayout::Plan> plan = m_layout->plan(m_edition, *m_texts);
    if (!plan)
        return;
    m_leftMoveInt = plan->leftMoveInt;
    const QString why = m_main->ApplySkinLayout(*plan);
    if (!why.isEmpty())
        throw StartupError(why);
    applyEdition();
}

void ConverterApp::applyEdition()
{
    MainWindow &w = *m_main;
    const bool files = m_edition.isFileEdition();
    if (files) {
        // The pictures of the file commands, where the skin has them.
        const auto relabel = [this, &w](const char *name, const char *pictures,
                                        const QString &label, const QString &hint) {
            if (skin::ImageButton *b = w.button(QString::fromLatin1(name))) {
                const QString base =
                    m_programFolder + QStringLiteral("/images/") + QString::fromLatin1(pictures);
                b->loadPictures(base + QStringLiteral(".bmp"), base + QStringLiteral("on.bmp"),
                                base + QStringLiteral("D.bmp"));
                b->setText(label);
                b->setToolTip(hint);
            }
        };
        relabel("bt_dvdopen", "bt_addfiles", QStringLiteral("Add Files"),
                m_texts->LookUpText(QStringLiteral("File"), QStringLiteral("Add File"),
                                    QStringLiteral("Add Files")));
        relabel("bt_ifo", "bt_addfolder", QStringLiteral("Add Folder"),
                m_texts->LookUpText(QStringLiteral("File"), QStringLiteral("Add Folder"),
                                    QStringLiteral("Add Folder")));
        if (QAbstractButton *b = w.button(QStringLiteral("bt_chapte")))
            b->hide();
    }
    // Only DVD rows have streams to choose.
    for (const char *name : {"cb_audio", "cb_subtitle"})
        if (QWidget *combo = w.findChild<QWidget *>(QString::fromLatin1(name)))
            combo->setVisible(!files);
    for (const char *name : {"audio", "subtitle"})
        w.SetObjectVisible(QString::fromLatin1(name), !files);
    // Each edition offers its own way into an empty list.
    for (const char *name : {"dvdopen", "ifoopen", "dvdfile"})
        w.SetObjectVisible(QString::fromLatin1(name), !files);
    for (const char *name : {"openfiles", "openfolder"})
        w.SetObjectVisible(QString::fromLatin1(name), files);
    if (!files) {
        if (skin::SkinnedWindow *skinned = w.skinned())
            if (skin::SkinObject *o = skinned->FindObject(QStringLiteral("emptyhint")))
                o->setText(QStringLiteral("Add a DVD disc, a VIDEO_TS folder or IFO files."));
    }
}

void ConverterApp::connectSkin()
{
    MainWindow &w = *m_main;
    skin::SkinEngine &engine = w.skinEngine();
    QObject::connect(&engine, &skin::SkinEngine::OnClick, &w,
                     [this](skin::SkinObject *source) { m_skinCommands->Skin1Click(source->name()); });
    QObject::connect(&engine, &skin::SkinEngine::OnMouseMove, &w,
                     [this](skin::SkinObject *source, int, int) { Skin1MouseMove(source->name()); });
    QObject::connect(&engine, &skin::SkinEngine::OnMouseDown, &w,
                     [this](skin::SkinObject *source, Qt::MouseButton button, int, int) {
                         Skin1MouseDown(source->name(), button);
                     });
    w.onControlMouseDown = [this] { m_profilePicker->HideProfilePanels(); };
    w.onIconClick = [this] { m_profilePicker->openPicker(); };
    m_skinCommands->setAction(QStringLiteral("profiles"), [this] { m_profilePicker->openPicker(); });
    // Image buttons show their status texts themselves.
    const std::pair<const char *, int> over[] = {
        {"bt_dvdopen", 1}, {"bt_ifo", 2},   {"bt_remove", 23},   {"bt_clear", 24},
        {"bt_chapte", 15}, {"bt_play", 10}, {"bt_playstop", 12}, {"bt_cut", 16}};
    for (const auto &[name, string] : over)
        if (skin::ImageButton *b = w.button(QString::fromLatin1(name))) {
            const QString button = QString::fromLatin1(name);
            const int n = string;
            QObject::connect(b, &skin::ImageButton::entered, b, [this, button, n] {
                // The file edition's add buttons speak of files and folders.
                int shown = n;
                if (m_edition.isFileEdition() && button == QLatin1String("bt_dvdopen"))
                    shown = 22;
                else if (m_edition.isFileEdition() && button == QLatin1String("bt_ifo"))
                    shown = 21;
                m_texts->LoadInterfaceString(shown);
            });
        }
    for (const char *name : {"bt_dvdopen", "bt_ifo", "bt_remove", "bt_clear", "bt_set",
                             "bt_chapte", "bt_play", "bt_playstop", "bt_cut"})
        if (skin::ImageButton *b = w.button(QString::fromLatin1(name)))
            QObject::connect(b, &skin::ImageButton::left, b,
                             [this] { m_texts->LoadInterfaceString(25); });
}

void ConverterApp::Skin1MouseMove(const QString &object)
{
    MainWindow &w = *m_main;
    if (!previewPlaying())
        w.SetObjectVisible(QStringLiteral("pl_play"), false);
    if (const std::optional<int> n = SkinCommands::hoverString(object))
        m_texts->LoadInterfaceString(*n);
}

void ConverterApp::Skin1MouseDown(const QString &object, Qt::MouseButton)
{
    m_profilePicker->HideProfilePanels();
    if (m_queue->converting())
        return;
    if (object == QLatin1String("play_bar") || object == QLatin1String("cut_play_bar"))
        m_seekDragging = true;
}

void ConverterApp::showAbout()
{
    // The about window's whole face is the skin's form, given on every showing.
    m_main->skinEngine().SkinWindowAs(m_about.get(), QStringLiteral("about"));
    if (skin::SkinnedWindow *face = m_main->skinEngine().SkinnedWindowOf(m_about.get()))
        if (skin::SkinObject *version = face->FindObject(QStringLiteral("aboutversion")))
            version->setText(QStringLiteral("Version ") + QCoreApplication::applicationVersion());
    m_about->exec();
}

void ConverterApp::openHelp()
{
    const QString file = m_programFolder + QStringLiteral("/help/index.html");
    m_shell.openDocument(m_layout->LayoutText(QStringLiteral("help"), QStringLiteral("link"), file));
}

void ConverterApp::checkAll(bool checked, bool storeForView)
{
    for (int row = 0; row < m_jobs.rowCount(); ++row) {
        m_jobs.setChecked(row, checked);
        if (storeForView)
            m_dvd.store(row, checked);
    }
}

void ConverterApp::runBackground()
{
    m_background->RunBackground1Click(m_layout->LayoutText(
        QStringLiteral("RunBackground"), QStringLiteral("RunBackground"),
        QStringLiteral("Marlo Software")));
}

void ConverterApp::quitNow()
{
    // At once, without the close query: the settings are not written. A running
    // row is still stopped the way Stop does it when the program object goes.
    m_quitting = true;
    QCoreApplication::exit(0);
}

void ConverterApp::pathsDropped(const QStringList &paths)
{
    if (!m_edition.isFileEdition()) {
        // A disc folder goes the way of Add DVD, information files that of Add IFO.
        if (m_queue->converting() || previewPlaying()) {
            m_boxes.warning(m_texts->LoadInterfaceString(m_queue->converting() ? 26 : 27));
            return;
        }
        QStringList ifos;
        for (const QString &path : paths) {
            if (QFileInfo(path).isDir()) {
                m_discovery->addDvdFolder(path);
                return;
            }
            if (path.endsWith(QLatin1String(".ifo"), Qt::CaseInsensitive))
                ifos << path;
        }
        if (ifos.isEmpty()) {
            m_boxes.information(m_texts->LookUpText(
                QStringLiteral("MessageDlg"), QStringLiteral("Drop DVD"),
                QStringLiteral("Only a DVD folder (VIDEO_TS) or IFO files can be added here.")));
            return;
        }
        m_discovery->addIfoFiles(ifos);
        return;
    }
    m_importer->addDroppedPaths(paths);
}

void ConverterApp::runEnded()
{
    int finished = 0, failed = 0;
    for (int row = 0; row < m_jobs.rowCount(); ++row) {
        if (!m_jobs.isChecked(row))
            continue;
        if (m_jobs.isFailed(row))
            ++failed;
        else
            ++finished;
    }
    QString text = finished == 1 ? QStringLiteral("1 file converted")
                                 : QStringLiteral("%1 files converted").arg(finished);
    if (failed > 0)
        text += failed == 1 ? QStringLiteral(", 1 failed") : QStringLiteral(", %1 failed").arg(failed);
    m_background->notify(QStringLiteral("Conversion finished"), text + QLatin1Char('.'));
}

void ConverterApp::buildShortcuts()
{
    MainWindow &w = *m_main;
    Shortcuts::Actions a;
    const auto menu = [this](const char *object) {
        return [this, object] { m_skinCommands->Skin1Click(QString::fromLatin1(object)); };
    };
    const auto trigger = [&w](const char *action) {
        return [&w, action] {
            if (QAction *item = w.action(QString::fromLatin1(action)); item && item->isEnabled())
                item->trigger();
        };
    };
    a.help = [this] { openHelp(); };
    a.openPicker = [this] { m_profilePicker->openPicker(); };
    a.quitNow = [this] { quitNow(); };
    a.togglePreview = [] {}; // the preview answers here once it exists
    a.saveStill = [] {};
    a.removeRows = [this] { m_queue->removeRows(); };
    a.fileMenu = menu("file");
    a.editMenu = menu("settings");
    a.actionsMenu = menu("purchase");
    a.toolsMenu = menu("register");
    a.helpMenu = menu("help");
    a.addDvd = trigger("AddFiles2");
    a.addIfo = trigger("AddFolder2");
    a.properties = [this] { m_properties->Properties1Click(); };
    a.background = [this] { runBackground(); };
    a.clearRows = [this] { m_queue->clearRows(); };
    a.rename = [&w] { w.jobListView()->Rename1Click(); };
    a.checkAll = [this] { checkAll(true); };
    a.uncheckAll = [this] { checkAll(false); };
    a.startConversion = [this] { m_queue->startConversion(); };
    a.togglePause = [this] { m_encoder->togglePause(); };
    a.stopConversion = [this] { m_queue->stopConversion(); };
    a.formatSettings = [this] { m_set->exec(); };
    a.listening = [this] {
        return m_startupDone && QGuiApplication::applicationState() == Qt::ApplicationActive;
    };
    a.textFieldFocused = &ShortcutFilter::textFieldFocused;
    a.folderDialogActive = [this] { return m_dir && m_dir->isActiveWindow(); };
    a.settingsDialogActive = [this] { return m_set && m_set->isActiveWindow(); };
    a.converting = [this] { return m_queue->converting(); };
    m_shortcuts = std::make_unique<Shortcuts>(std::move(a));
    m_shortcutFilter = std::make_unique<ShortcutFilter>(*m_shortcuts);
    QCoreApplication::instance()->installEventFilter(m_shortcutFilter.get());
}

void ConverterApp::applyPickerCaptions()
{
    PickerPanels &panels = m_main->pickerPanels();
    // Category names are interface texts; profile names come from the catalogue.
    static const char *const names[] = {"Video",   "Audio",    "iPod",         "iPhone",
                                        "GPhone",  "Apple TV", "PSP / PS3",    "Xbox 360",
                                        "Mobile phone", "Pocket PC", "Media player", "HD video",
                                        "Flash and web"};
    for (int k = 1; k <= 13; ++k) {
        const QString english = QString::fromLatin1(names[k - 1]);
        panels.setCategoryCaption(
            k, m_texts->LookUpText(QStringLiteral("Picker"), QString::number(k), english));
    }
    for (int n = 1; n <= 132; ++n) {
        const QString description = catalogue::description(n);
        if (description.isEmpty())
            continue;
        // "AVI-DivX Movie(*.avi)": the name, and the extension under it.
        QString name = description;
        QString extension = catalogue::extension(n);
        if (const int star = description.lastIndexOf(QLatin1String("(*")); star > 0)
            name = description.left(star).trimmed();
        const QString detail = extension.isEmpty() ? QString()
                                                   : extension.mid(1).toUpper() + QStringLiteral(" file");
        // Shown but inert: such a button says so by its grey name.
        const bool reacts = ProfilePicker::takesClick(n) || ProfilePicker::takesPointer(n);
        panels.setButtonCaption(n, name, detail, !reacts);
    }
    // The page buttons keep their English captions unless the language file has others.
    for (const char *page : {"Image94", "Image93", "Image2", "Image5"}) {
        const QString key = QString::fromLatin1(page);
        if (const QString text = m_texts->LookUpText(QStringLiteral("Picker"), key, {});
            !text.isEmpty())
            panels.setPageCaption(key, text);
    }
}

void ConverterApp::lvClick()
{
    if (previewPlaying() || (m_queue && m_queue->converting()))
        return;
    const int row = m_jobs.firstSelected();
    if (row < 0) {
        updateCommandStates();
        return;
    }
    m_main->SetObjectText(QStringLiteral("alltime"), m_jobs.originalInfo(row).durationText);
    m_previewRow = row;
    updateCommandStates();
    if (!m_edition.isFileEdition()) {
        std::vector<bool> marks(size_t(m_jobs.rowCount()));
        for (int r = 0; r < m_jobs.rowCount(); ++r)
            marks[size_t(r)] = m_jobs.isChecked(r);
        m_dvd.current() = std::move(marks);
        m_streams->fillStreamLists(row);
    }
}

void ConverterApp::switchView()
{
    if (previewPlaying()) {
        m_boxes.warning(m_texts->LoadInterfaceString(27));
        return;
    }
    if (m_queue->converting()) {
        m_boxes.warning(m_texts->LoadInterfaceString(26));
        return;
    }
    m_dvd.titleView = !m_dvd.titleView;
    m_jobs.clearRows();
    m_dvd.clearChoices();
    // The files are read again, in order, into the new view.
    const std::vector<TIFOSelint> files = std::move(m_dvd.ifoFiles);
    m_dvd.ifoFiles.clear();
    for (const TIFOSelint &file : files) {
        m_dvd.ifoFiles.push_back(TIFOSelint{.ifoPath = file.ifoPath});
        m_listing->readIfo(file.ifoPath);
    }
    const int rows = m_jobs.rowCount();
    if (rows == 0) {
        updateCommandStates();
        return;
    }
    std::optional<std::vector<bool>> &marks = m_dvd.current();
    if (!marks)
        marks = std::vector<bool>(size_t(rows), true);
    // Rows added in the other view have no mark yet here: they come ticked.
    if (marks->size() < size_t(rows))
        marks->resize(size_t(rows), true);
    for (int row = 0; row < rows; ++row)
        m_jobs.setChecked(row, (*marks)[size_t(row)]);
    m_jobs.selectOnly(longestRow(m_jobs.convertInfos(), rows));
    lvClick();
}
