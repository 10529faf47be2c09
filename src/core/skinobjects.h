#pragma once

#include <QString>

// Named parts of the skinned windows. Every write is followed by a redraw.
class SkinObjects
{
public:
    virtual ~SkinObjects() = default;
    virtual void SetObjectText(const QString &object, const QString &text) = 0;
    virtual void SetObjectVisible(const QString &object, bool visible) = 0;
    virtual void SetSliderPosition(const QString &object, int position) = 0; // 0..10000
    virtual int GetSliderPosition(const QString &object) = 0;
    virtual void SetStatusText(const QString &text) = 0;
    // value in ten-thousandths, limited to cap; the bar's length comes from the
    // layout section's "pos" key.
    virtual void SetBarFraction(const QString &bar, int value, const QString &layoutSection,
                                int cap) = 0;
    // Loads a picture file into a picture box of the window (nothing when missing).
    virtual void ShowPicture(const QString &object, const QString &path) = 0;
};
