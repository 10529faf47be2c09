#pragma once

#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

// Runs `start`, which enters the dialog's modal loop, and calls `whileShown` from
// inside that loop. A dialog still open after five seconds is closed, so that a
// broken case fails instead of hanging the run.
inline void runModal(QDialog &dialog, const std::function<void()> &start,
                     const std::function<void()> &whileShown)
{
    bool ran = false;
    QTimer act;
    act.setSingleShot(true);
    QObject::connect(&act, &QTimer::timeout, [&] {
        ran = true;
        EXPECT_TRUE(dialog.isVisible());
        whileShown();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the dialog was still open";
        dialog.done(QDialog::Rejected);
    });
    act.start(0);
    guard.start(5000);
    start();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(dialog.isVisible());
}
