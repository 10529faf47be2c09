#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct Toriginalinfo;

// The properties dialog `Tfm_info`: the source facts of one job row, read-only, and
// why the row failed when it did.
class PropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PropertiesDialog(QWidget *parent = nullptr);

    // Fills the nine fields; the failure field shows only for a non-empty reason.
    void fill(const Toriginalinfo &info, const QString &failureReason);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_duration = nullptr;
    QLineEdit *m_videoBitrate = nullptr;
    QLineEdit *m_videoFormat = nullptr;
    QLineEdit *m_resolution = nullptr;
    QLineEdit *m_frameRate = nullptr;
    QLineEdit *m_audioFormat = nullptr;
    QLineEdit *m_audioBitrate = nullptr;
    QLineEdit *m_sampleRate = nullptr;
    QLineEdit *m_channels = nullptr;
    QLabel *m_failureLabel = nullptr;
    QPlainTextEdit *m_failure = nullptr;
    QPushButton *m_ok = nullptr;
};
