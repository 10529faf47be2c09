#pragma once

// Helpers for tests that drive the real windows: answering message boxes, a
// private copy of the program folder, waiting while events are processed.
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

// Answers every message box the program shows and keeps its text.
class BoxWatcher
{
public:
    BoxWatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start(10);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

// A copy of the staged program folder whose layout file a test may change.
class ProgramCopy
{
public:
    ProgramCopy()
    {
        const QDir from(testenv::programDir());
        QDirIterator it(from.path(), QDir::Files | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString rel = from.relativeFilePath(path);
            if (rel.startsWith(QLatin1String("marlo-")))
                continue; // the program itself is not needed
            QDir().mkpath(QFileInfo(m_dir.filePath(rel)).absolutePath());
            QFile::copy(path, m_dir.filePath(rel));
        }
    }
    QString path() const { return m_dir.path(); }
    void writeLayout(const QByteArray &text)
    {
        QFile f(m_dir.filePath(QStringLiteral("Skin.ini")));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
    }
    void removeLayout() { QFile::remove(m_dir.filePath(QStringLiteral("Skin.ini"))); }

private:
    QTemporaryDir m_dir;
};

inline void waitFor(const std::function<bool()> &done, int ms = 20000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

