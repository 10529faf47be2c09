#pragma once

#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/profilestate.h"
#include "platform/inifile.h"
#include "profiles/profileselector.h"
#include "profiles/rememberedchoices.h"
#include "support/fakes.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A program folder with a profile list of every number, a profile choices file,
// and the selection wired to recording fakes.
struct ProfileFixture : ::testing::Test {
    QTemporaryDir dir;
    Edition edition;
    ProfileState profile;
    FormatSettings format;
    FakeTexts texts;
    RecordingBoxes boxes;
    FakeSkin skin;
    int recomputed = 0;
    std::unique_ptr<IniFile> choices;
    RememberedChoices remembered{edition, format};
    std::unique_ptr<ProfileSelector> selector;
    // Lines 2 to 4 of a group, by profile number, where they differ from the usual.
    QHash<int, QStringList> groups;

    void SetUp() override
    {
        edition.setExeFileName(QStringLiteral("marlo-video-converter"));
        for (int n : {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 33, 40, 45, 59, 71, 80})
            groups[n] = {QStringLiteral("*"), QStringLiteral("*"), QStringLiteral("-vn")};
        choices = std::make_unique<IniFile>(dir.filePath(QStringLiteral("pro test.ini")));
        remembered.setFile(choices.get());
        selector = std::make_unique<ProfileSelector>(
            ProfileSelector::Context{.profile = profile,
                                     .settings = format,
                                     .remembered = remembered,
                                     .edition = edition,
                                     .texts = texts,
                                     .boxes = boxes,
                                     .skin = skin,
                                     .programFolder = dir.path(),
                                     .recomputeOutputSizes = [this] { ++recomputed; }});
        writeProfileList();
    }

    void writeProfileList(int upTo = 131)
    {
        QFile f(dir.filePath(QStringLiteral("profiles.pop")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        for (int n = 1; n <= upTo; ++n) {
            const QStringList lines = groups.value(n, {QStringLiteral("320x240 640x480"),
                                                       QStringLiteral("300 500 800 1200 1500"),
                                                       QStringLiteral("-options %1").arg(n)});
            f.write(QStringLiteral("group %1\r\n").arg(n).toLatin1());
            for (const QString &l : lines)
                f.write((l + QStringLiteral("\r\n")).toLatin1());
        }
    }

    void dvdEdition() { edition.setExeFileName(QStringLiteral("marlo-dvd-converter")); }
};
