#pragma once

#include <QByteArray>
#include <QGuiApplication>

namespace vela::fuzz {

/// The process's offscreen GUI application, made at the first input: SVG
/// logos may hold text, which needs the fonts of a GUI application.
inline void ensureGuiApplication() {
    static int argc = 1;
    static char name[] = "vela_fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

}  // namespace vela::fuzz
