#pragma once

#include <QString>

#include <array>

// Video CD, Super Video CD and DVD: the profiles whose format the disc standard fixes.
inline bool isDiscTargetProfile(int number)
{
    return number == 112 || number == 113 || number == 114;
}

// The active output profile as the command line reads it.
struct ProfileState {
    int activeProfile = -1;   // last number passed to selectProfile
    int currentCategory = -1; // picker category 1..13
    QString profileDescription;
    QString profileOptions;
    // By video quality position: 0 "Higher Quality" .. 4 "Lower Quality". Slots are
    // only ever overwritten; slot 0 is "*" after a profile without video.
    std::array<QString, 5> videoRateSlots;

    // The text after the first "*" of the description up to its last character:
    // "AVI-DivX Movie(*.avi)" gives ".avi". Letter case as written.
    QString profileExtension() const;

    bool isDiscTarget() const { return isDiscTargetProfile(activeProfile); }
};

QString extensionOfDescription(const QString &description);
