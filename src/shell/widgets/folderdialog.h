#pragma once

#include <QDialog>
#include <QString>

class FolderTreeModel;
class QPushButton;
class QTreeView;

// The folder dialog `Tfm_dir`, shared by every command that asks for a folder. It
// lives for the whole run; its result, the chosen folder, stays set between uses.
class FolderDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FolderDialog(QWidget *parent = nullptr);

    // Sets the caption, shows the dialog modally and returns its result.
    QString ShowFolderDialog(const QString &caption);

    // The folder chosen with OK; emptied by Cancel, kept when closed by the close box.
    QString result() const { return m_result; }

    // Opens the tree down to the folder and selects it; false when the tree does not
    // hold it (a file, a hidden folder, no such folder).
    bool selectPath(const QString &path);
    QString selectedPath() const;

    QTreeView *tree() const { return m_tree; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void btn_okClick();
    void btn_cancelClick();
    void rebuildTree();

    FolderTreeModel *m_model = nullptr;
    QTreeView *m_tree = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QString m_result;
};
