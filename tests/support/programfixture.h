#pragma once

#include "app/program.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/media/testmediaplayer.h"
#include "platform/mixer/memorymixer.h"
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
          services{drive.paths(), profiles, dialogs, boundary, player, mixer}
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
    Services services;
    BaseState state;
    std::unique_ptr<Program> program;
};
