// The GUI tests' main: one QApplication (offscreen unless a platform was chosen) for every
// test, which drives the real windows with clicks and keys.

#include "colour/conversion_state.h"

#include <gtest/gtest.h>
#include <QApplication>

// The offscreen platform says for every window that it cannot shape or raise it; nothing to
// learn from that in a test log.
static QtMessageHandler previousHandler = nullptr;
static void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("This plugin does not support")) return;
    if (previousHandler) previousHandler(type, context, text);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    previousHandler = qInstallMessageHandler(QuietHandler);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
