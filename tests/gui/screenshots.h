#pragma once

// With CORVANE_SCREENSHOTS naming a folder, the whole screen is saved there at the named moments,
// so the windows can be looked at as a coach sees them (under Xvfb with the xcb platform).

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QTest>

#include <cstdlib>

namespace corvane::testing {

inline void screenshot(const char* name) {
    const char* folder = std::getenv("CORVANE_SCREENSHOTS");
    if (!folder || !*folder) return;
    QTest::qWait(300);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        screen->grabWindow(0).save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

}  // namespace corvane::testing
