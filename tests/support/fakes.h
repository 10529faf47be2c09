#pragma once

// Recording stand-ins for the window, the desktop and the encoder, so the logic
// runs without a display and every call it makes can be checked.

#include "core/commandstates.h"
#include "core/encodercontrol.h"
#include "core/mergecontrol.h"
#include "core/messageboxes.h"
#include "core/outputfolderfield.h"
#include "core/skinobjects.h"
#include "core/textlookup.h"
#include "platform/shellactions.h"

#include <QHash>
#include <QStringList>

#include <vector>

struct RecordingBoxes : MessageBoxes {
    QStringList calls; // "warning: text", "information: text", ...
    bool answer = true;
    void warning(const QString &t) override { calls << QStringLiteral("warning: ") + t; }
    void information(const QString &t) override { calls << QStringLiteral("information: ") + t; }
    bool question(const QString &t) override
    {
        calls << QStringLiteral("question: ") + t;
        return answer;
    }
    void error(const QString &t) override { calls << QStringLiteral("error: ") + t; }
};

struct FakeSkin : SkinObjects {
    QHash<QString, QString> texts;
    QHash<QString, bool> visible;
    QHash<QString, int> sliders;
    QHash<QString, int> bars;
    QStringList status;
    QStringList pictures;
    void SetObjectText(const QString &o, const QString &t) override { texts[o] = t; }
    void SetObjectVisible(const QString &o, bool v) override { visible[o] = v; }
    void SetSliderPosition(const QString &o, int p) override { sliders[o] = p; }
    int GetSliderPosition(const QString &o) override { return sliders.value(o); }
    void SetStatusText(const QString &t) override { status << t; }
    void SetBarFraction(const QString &b, int v, const QString &, int cap) override
    {
        bars[b] = std::min(v, cap);
    }
    void ShowPicture(const QString &o, const QString &p) override { pictures << o + '=' + p; }
};

struct CountingCommands : CommandStates {
    int updates = 0;
    void UpdateCommandStates() override { ++updates; }
};

// Built-in English texts, with optional replacements; numbered texts read "string N".
struct FakeTexts : TextLookup {
    QHash<QString, QString> replaced; // "section/key" -> text
    std::vector<int> numbersAsked;
    QString LookUpText(const QString &s, const QString &k, const QString &def) const override
    {
        return replaced.value(s + '/' + k, def);
    }
    QString LoadInterfaceString(int n) override
    {
        numbersAsked.push_back(n);
        return QStringLiteral("string %1").arg(n);
    }
};

struct RecordingShell : ShellActions {
    QStringList calls;
    void openFolder(const QString &p) override { calls << QStringLiteral("open folder ") + p; }
    void openDocument(const QString &p) override { calls << QStringLiteral("open ") + p; }
    void powerOff() override { calls << QStringLiteral("power off"); }
};

struct FakeOutputField : OutputFolderField {
    QString value;
    QString text() const override { return value; }
    void setText(const QString &t) override { value = t; }
};

// Records the rows it was asked to encode; the test ends each run by hand.
struct FakeEncoder : EncoderControl {
    std::vector<intputrec> started;
    QStringList events;
    void startEncoder(const intputrec &r) override
    {
        started.push_back(r);
        events << QStringLiteral("start ") + r.outputPath;
    }
    void terminateEncoder(int code) override { events << QStringLiteral("terminate %1").arg(code); }
    void resetProgressDisplay() override { events << QStringLiteral("progress 0"); }
    void endRowDisplay() override { events << QStringLiteral("end row"); }
    void startPreProgress() override { events << QStringLiteral("pre-progress on"); }
    void stopPreProgress() override { events << QStringLiteral("pre-progress off"); }
    void resetPreProgressTicks() override { events << QStringLiteral("ticks 0"); }
    void resetPauseCaption() override { events << QStringLiteral("pause caption"); }
};

struct FakeMerge : MergeControl {
    QStringList calls;
    void startMergeCommand() override { calls << QStringLiteral("start"); }
    void addMergeInput(int row, const QString &p) override
    {
        calls << QStringLiteral("input %1 ").arg(row) + p;
    }
    void mergeOutputs() override { calls << QStringLiteral("merge"); }
};
