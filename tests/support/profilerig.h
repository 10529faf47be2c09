#pragma once

// The profile side of the program wired the way the window wires it: the profile
// state, the settings dialog's lists, the remembered choices, the request builder and
// the selector over the profile list staged in the program folder, with recording
// fakes for the window. The remembered choices have no file until a test gives one,
// as on a fresh installation.

#include "core/edition.h"
#include "core/formatsettings.h"
#include "core/joblist.h"
#include "core/profilestate.h"
#include "core/requestbuilder.h"
#include "profiles/profileselector.h"
#include "profiles/rememberedchoices.h"
#include "support/fakes.h"
#include "support/testenv.h"

struct ProfileRig {
    Edition edition;
    JobList jobs;
    ProfileState profile;
    FormatSettings format;
    FakeTexts texts;
    RecordingBoxes boxes;
    FakeSkin skin;
    RememberedChoices remembered{edition, format};
    RequestBuilder builder{jobs, edition, profile, format, texts};
    ProfileSelector selector{ProfileSelector::Context{
        .profile = profile,
        .settings = format,
        .remembered = remembered,
        .edition = edition,
        .texts = texts,
        .boxes = boxes,
        .skin = skin,
        .programFolder = testenv::programDir(),
        .recomputeOutputSizes = [this] { builder.recomputeOutputSizes(jobs); }}};

    ProfileRig() { edition.setExeFileName(QStringLiteral("marlo-video-converter")); }
    ProfileRig(const ProfileRig &) = delete;
    ProfileRig &operator=(const ProfileRig &) = delete;
};
