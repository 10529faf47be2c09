#include "shell/widgets/mainwindow.h"

#include "shell/widgets/joblistview.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(JobList &jobs, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Tfm_main"));
    setWindowTitle(QStringLiteral("Marlo Video Converter"));
    resize(820, 560);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    addNamedAction(file, QStringLiteral("AddFiles2"), QStringLiteral("&Add File(A)"));
    addNamedAction(file, QStringLiteral("AddFolder2"), QStringLiteral("A&dd Folder(D)"));
    addNamedAction(file, QStringLiteral("Properties1"), QStringLiteral("Proper&ties(T)"));
    addNamedAction(file, QStringLiteral("RunBackground1"), QStringLiteral("Run Back&ground(G)"));
    file->addSeparator();
    addNamedAction(file, QStringLiteral("Exit2"), QStringLiteral("E&xit(X)"));
    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    addNamedAction(edit, QStringLiteral("Remove1"), QStringLiteral("&Remove(R)"));
    addNamedAction(edit, QStringLiteral("Clear2"), QStringLiteral("&Clear(C)"));
    addNamedAction(edit, QStringLiteral("Rename1"), QStringLiteral("Re&name(N)"));
    addNamedAction(edit, QStringLiteral("SelectAll1"), QStringLiteral("Select A&ll(L)"));
    addNamedAction(edit, QStringLiteral("UnselectAll1"), QStringLiteral("&Unselect All(U)"));
    QMenu *actions = menuBar()->addMenu(QStringLiteral("&Actions"));
    addNamedAction(actions, QStringLiteral("Convert2"), QStringLiteral("Con&vert(V)"));
    addNamedAction(actions, QStringLiteral("Pause1"), QStringLiteral("&Pause(P)"));
    addNamedAction(actions, QStringLiteral("Stop2"), QStringLiteral("&Stop(S)"));
    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    addNamedAction(tools, QStringLiteral("settings"), QStringLiteral("Sett&ings(I)"));
    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    addNamedAction(help, QStringLiteral("Help1"), QStringLiteral("&Help(H)"));
    addNamedAction(help, QStringLiteral("About1"), QStringLiteral("About Marlo Video Converter"));

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);

    auto *top = new QHBoxLayout;
    m_picture = new QLabel(central);
    m_picture->setObjectName(QStringLiteral("im_mainico"));
    m_picture->setFixedSize(64, 48);
    top->addWidget(m_picture);
    auto *profileText = new QLabel(central);
    profileText->setObjectName(QStringLiteral("profilestext"));
    QFont bold = profileText->font();
    bold.setBold(true);
    profileText->setFont(bold);
    m_texts.insert(profileText->objectName(), profileText);
    top->addWidget(profileText, 1);
    top->addWidget(addNamedButton(QStringLiteral("bt_set"), QStringLiteral("Settings")));
    layout->addLayout(top);

    auto *commands = new QHBoxLayout;
    for (const auto &[name, caption] :
         {std::pair{QStringLiteral("bt_dvdopen"), QStringLiteral("Add DVD")},
          std::pair{QStringLiteral("bt_ifo"), QStringLiteral("Add IFO")},
          std::pair{QStringLiteral("openfiles"), QStringLiteral("Add Files")},
          std::pair{QStringLiteral("openfolder"), QStringLiteral("Add Folder")},
          std::pair{QStringLiteral("bt_remove"), QStringLiteral("Remove")},
          std::pair{QStringLiteral("bt_clear"), QStringLiteral("Clear")}})
        commands->addWidget(addNamedButton(name, caption));
    commands->addStretch(1);
    layout->addLayout(commands);

    // The list sits in an area that keeps its place while the list itself is hidden.
    auto *listArea = new QWidget(central);
    auto *listLayout = new QVBoxLayout(listArea);
    listLayout->setContentsMargins(0, 0, 0, 0);
    m_list = new JobListView(jobs, listArea);
    listLayout->addWidget(m_list);
    layout->addWidget(listArea, 1);

    m_convertInfo = new QWidget(central);
    m_convertInfo->setObjectName(QStringLiteral("convertinfo"));
    auto *info = new QFormLayout(m_convertInfo);
    for (const auto &[name, caption] :
         {std::pair{QStringLiteral("filename"), QStringLiteral("File:")},
          std::pair{QStringLiteral("filepath"), QStringLiteral("Path:")},
          std::pair{QStringLiteral("filesize"), QStringLiteral("Size:")},
          std::pair{QStringLiteral("usedtime"), QStringLiteral("Elapsed:")},
          std::pair{QStringLiteral("resttime"), QStringLiteral("Remaining:")}}) {
        auto *label = new QLabel(m_convertInfo);
        label->setObjectName(name);
        m_texts.insert(name, label);
        info->addRow(caption, label);
    }
    m_convertBar = new QProgressBar(m_convertInfo);
    m_convertBar->setObjectName(QStringLiteral("convertpos"));
    m_convertBar->setRange(0, 10000);
    m_convertBar->setTextVisible(false);
    info->addRow(m_convertBar);
    layout->addWidget(m_convertInfo);

    auto *output = new QHBoxLayout;
    output->addWidget(new QLabel(QStringLiteral("Output folder:"), central));
    m_output = new QLineEdit(central);
    m_output->setObjectName(QStringLiteral("ed_output"));
    output->addWidget(m_output, 1);
    output->addWidget(addNamedButton(QStringLiteral("browse"), QStringLiteral("Browse...")));
    output->addWidget(addNamedButton(QStringLiteral("open"), QStringLiteral("Open")));
    layout->addLayout(output);

    auto *run = new QHBoxLayout;
    run->addWidget(addNamedButton(QStringLiteral("bt_mergeno"), QStringLiteral("Merge: off")));
    run->addWidget(addNamedButton(QStringLiteral("bt_mergeyse"), QStringLiteral("Merge: on")));
    m_buttons.value(QStringLiteral("bt_mergeno"))->setToolTip(QStringLiteral("merge "));
    m_buttons.value(QStringLiteral("bt_mergeyse"))->setToolTip(QStringLiteral("merge "));
    run->addStretch(1);
    run->addWidget(addNamedButton(QStringLiteral("bt_pause"), QStringLiteral("Pause")));
    run->addWidget(addNamedButton(QStringLiteral("Bt_Convertstop"), QStringLiteral("Stop")));
    run->addWidget(addNamedButton(QStringLiteral("bt_start"), QStringLiteral("Convert")));
    layout->addLayout(run);

    setCentralWidget(central);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("hint"));
    statusBar()->addWidget(m_hint, 1);
    m_texts.insert(QStringLiteral("hint"), m_hint);
}

QAction *MainWindow::addNamedAction(QMenu *menu, const QString &name, const QString &caption)
{
    auto *a = menu->addAction(caption);
    a->setObjectName(name);
    m_actions.insert(name, a);
    return a;
}

QPushButton *MainWindow::addNamedButton(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    m_buttons.insert(name, b);
    return b;
}

QAction *MainWindow::action(const QString &name) const
{
    return m_actions.value(name);
}

QPushButton *MainWindow::button(const QString &name) const
{
    return m_buttons.value(name);
}

QWidget *MainWindow::named(const QString &name) const
{
    if (QWidget *w = m_texts.value(name))
        return w;
    if (QWidget *w = m_buttons.value(name))
        return w;
    if (name == m_convertInfo->objectName())
        return m_convertInfo;
    if (name == m_convertBar->objectName())
        return m_convertBar;
    return nullptr;
}

void MainWindow::SetObjectText(const QString &object, const QString &text)
{
    if (QLabel *label = m_texts.value(object))
        label->setText(text);
}

void MainWindow::SetObjectVisible(const QString &object, bool visible)
{
    if (QWidget *w = named(object))
        w->setVisible(visible);
}

void MainWindow::SetSliderPosition(const QString &object, int position)
{
    m_sliders.insert(object, position);
}

int MainWindow::GetSliderPosition(const QString &object)
{
    return m_sliders.value(object, 0);
}

void MainWindow::SetStatusText(const QString &text)
{
    m_hint->setText(text);
}

void MainWindow::SetBarFraction(const QString &bar, int value, const QString &, int cap)
{
    if (bar == m_convertBar->objectName())
        m_convertBar->setValue(std::clamp(std::min(value, cap), 0, 10000));
}

void MainWindow::ShowPicture(const QString &object, const QString &path)
{
    if (object != m_picture->objectName())
        return;
    QPixmap picture(path);
    if (!picture.isNull())
        m_picture->setPixmap(picture.scaled(m_picture->size(), Qt::KeepAspectRatio));
}

void MainWindow::UpdateCommandStates()
{
    if (onUpdateCommandStates)
        onUpdateCommandStates();
}

QString MainWindow::text() const
{
    return m_output->text();
}

void MainWindow::setText(const QString &text)
{
    m_output->setText(text);
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (onShow)
        onShow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!onCloseQuery || onCloseQuery())
        event->accept();
    else
        event->ignore();
}
