#pragma once

#include "app/program.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/media/testmediaplayer.h"
#include "platform/mixer/memorymixer.h"
#include "platform/shell/recordingshell.h"
#include "platform/sysinfo/fakesysteminfo.h"
#include "support/scripteddialogs.h"
#include "support/tempdrive.h"

#include <QBuffer>
#include <QImage>

#include <memory>

/**
 * The program on a temporary drive C, with scripted dialogs: the fallback pictures in place,
 * a kit written by the test, and the four windows created when the test says so.
 */
class ProgramFixture
{
public:
    ProgramFixture()
        : profiles(drive.paths()), boundary(dialogs), player(drive.paths()),
          services{drive.paths(), profiles, dialogs, boundary, player, mixer, system, shell}
    {
        writeBitmap(QStringLiteral("C:\\KARVEL\\NoIcoS.bmp"), Qt::gray);
        writeBitmap(QStringLiteral("C:\\KARVEL\\NoIcoT.bmp"), Qt::darkGray);
        drive.makeFolder(QStringLiteral("C:\\WINDOWS"));
    }

    /**
     * A small Windows bitmap of one colour at a Windows path. Its bottom-left pixel is white,
     * the colour a glyph takes as transparent.
     */
    void writeBitmap(const QString &windowsPath, QColor color, QSize size = QSize(16, 16))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        image.setPixelColor(0, size.height() - 1, Qt::white);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        drive.write(windowsPath, bytes);
    }

    /** A WAV file of silence lasting `milliseconds` (8 kHz, 8-bit mono: one sample per 1/8 ms). */
    void writeWav(const QString &windowsPath, int milliseconds)
    {
        const quint32 samples = quint32(milliseconds) * 8;
        QByteArray bytes;
        const auto u32 = [&](quint32 v) { bytes.append(reinterpret_cast<const char *>(&v), 4); };
        const auto u16 = [&](quint16 v) { bytes.append(reinterpret_cast<const char *>(&v), 2); };
        bytes += "RIFF";
        u32(36 + samples);
        bytes += "WAVEfmt ";
        u32(16), u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);
        bytes += "data";
        u32(samples);
        bytes += QByteArray(int(samples), char(0x80));
        drive.write(windowsPath, bytes);
    }

    /** A text file as the RTF a word processor writes. */
    void writeRtf(const QString &windowsPath, const QByteArray &words)
    {
        drive.write(windowsPath, "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 " + words + "\\par}");
    }

    /** The kit at its default place, from lines joined with CRLF. */
    void writeKit(const QByteArray &text, const QString &path = QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"))
    {
        drive.write(path, text);
    }

    /** Creates the windows and shows the main window, as the program's start does. */
    Program &start()
    {
        program = std::make_unique<Program>(state, services);
        program->BaseForm.show();
        return *program;
    }

    TBaseForm &base() { return program->BaseForm; }
    /** The main window's control of that name. */
    template <typename Control> Control *find(const char *name) const
    {
        return program->BaseForm.findChild<Control *>(QLatin1String(name));
    }

    TempDrive drive;
    platform::ProfileStore profiles;
    ScriptedDialogs dialogs;
    platform::ErrorBoundary boundary;
    platform::TestMediaPlayer player;
    /** The desktop volume before start-up: exactly the bar's 50, so start-up writes nothing. */
    platform::MemoryMixer mixer{platform::MemoryMixer::Presence::Present, 50 * 655};
    platform::FakeSystemInfo system;
    platform::RecordingShell shell;
    Services services;
    BaseState state;
    std::unique_ptr<Program> program;
};
