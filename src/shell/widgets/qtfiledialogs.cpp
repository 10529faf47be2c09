#include "shell/widgets/qtfiledialogs.h"

#include "shell/widgets/folderdialog.h"

#include <QFileDialog>
#include <QFileInfo>

QStringList QtFileDialogs::nameFilters()
{
    const std::pair<const char *, const char *> filters[] = {
        {"All Support Format",
         "*.avi;*.mpg;*.mpeg;*.wmv;*.asf;*.asx;*.mov;*.dat;*.qt;*.vob;*.3gp;*.3g2;*.mp4;*.m4v;"
         "*.rm;*.rmvb;*.ram;*.mkv;*.flv;*.mjpg;*.mjpeg;*.ts;*.m2ts;*.h264;*.xwmv;*.yuv;"},
        {"WMV Format(*.wmv;*.asf;*.asx;)", "*.wmv;*.asf;*.asx;"},
        {"MPEG Format(*.mpg;*.mpeg;)", "*.mpg;*.mpeg;"},
        {"AVI Format(*.avi;)", "*.avi;"},
        {"Quick Time Format(*.qt;*.mov;)", "*.qt;*.mov;"},
        {"VCD Format(*.dat;)", "*.dat;"},
        {"MP4 Format(*.mp4;*.m4v;*.m4a)", "*.mp4;*.m4v;*.m4a;"},
        {"DVD Format(*.vob)", "*.vob;"},
        {"3GP Format(*.3gp)", "*.3gp;"},
        {"RM Format(*.rm;*.rmvb;*.ram;)", "*.rm;*.rmvb;*.ram;"},
        {"FLV Format(*.flv;)", "*.flv;"},
        {"All File(*.*)", "*"},
    };
    QStringList out;
    for (const auto &[label, patterns] : filters) {
        QString list = QString::fromLatin1(patterns);
        list.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Linux file names are case-sensitive: offer the upper-case spelling too.
        QString both = list.trimmed();
        if (both != QLatin1String("*"))
            both += QLatin1Char(' ') +
                    list.trimmed().toUpper().replace(QLatin1String("*."), QLatin1String("*."));
        out << QString::fromLatin1(label) + QStringLiteral(" (") + both + QLatin1Char(')');
    }
    return out;
}

QStringList QtFileDialogs::chooseExisting(const QString &name, const QStringList &filters)
{
    QFileDialog dialog(m_parent, QString(), m_lastFolder);
    dialog.setObjectName(name);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    dialog.setNameFilters(filters);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    if (!files.isEmpty())
        m_lastFolder = QFileInfo(files.first()).absolutePath();
    return files;
}

QStringList QtFileDialogs::chooseFiles()
{
    return chooseExisting(QStringLiteral("OpenDialog1"), nameFilters());
}

QStringList QtFileDialogs::chooseIfoFiles()
{
    return chooseExisting(QStringLiteral("OpenDialog2"), {QStringLiteral("IFO Files(*.ifo *.IFO)")});
}

QString QtFileDialogs::chooseFolder(const QString &caption)
{
    const QString folder = m_folderDialog
                               ? m_folderDialog->ShowFolderDialog(caption)
                               : QFileDialog::getExistingDirectory(m_parent, caption, m_lastFolder);
    if (!folder.isEmpty())
        m_lastFolder = folder;
    return folder;
}
