#pragma once

#include <QGuiApplication>
#include <QtGlobal>

/** The Qt set-up the fuzz targets share: an offscreen GUI application, and no warnings. */
inline void startFuzzQt(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Broken pictures make the image plugins warn on every input; that is expected here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static QGuiApplication application(*argc, *argv);
}
