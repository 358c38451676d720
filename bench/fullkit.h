#pragma once

// A full kit for benchmarks: 20 themes of 50 songs with all five keys, Windows paths and
// Windows-1251 captions, on a temporary drive C; optionally with every song's icon file.

#include "kit/kitformat.h"
#include "platform/codepage.h"
#include "platform/winpath.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

class FullKit
{
public:
    explicit FullKit(bool withIcons = false)
    {
        paths.mapDrive(u'C', dir.path());
        QDir().mkpath(dir.path() + QStringLiteral("/KARVEL/TEMES"));
        const platform::CodePage ansi;
        QByteArray text;
        for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
            text += "[" + kit::sectionName(theme).toLatin1() + "]\r\n";
            const QString folder = QString::fromUtf8("Концерт %1\\").arg(theme);
            for (int song = 1; song <= kit::SongCount; ++song) {
                const kit::SongKeys keys = kit::songKeys(song);
                const QString caption = QString::fromUtf8("Песня номер %1 — тема %2").arg(song).arg(theme);
                const QString stem = QStringLiteral("Theme%1_Song%2").arg(theme, 2, 10, QChar(u'0')).arg(song, 2, 10, QChar(u'0'));
                const QString icon = QStringLiteral("C:\\KARVEL\\ICONS\\") + folder + stem + QStringLiteral("_picture.bmp");
                text += keys.caption.toLatin1() + "=" + *ansi.encode(caption) + "\r\n";
                text += keys.text.toLatin1() + "=" + *ansi.encode(QStringLiteral("C:\\KARVEL\\TEXTS\\") + folder + stem + QStringLiteral("_words.rtf")) + "\r\n";
                text += keys.song.toLatin1() + "=" + *ansi.encode(QStringLiteral("C:\\KARVEL\\SONGS\\") + folder + stem + QStringLiteral("_performance.mp3")) + "\r\n";
                text += keys.icon.toLatin1() + "=" + *ansi.encode(icon) + "\r\n";
                text += keys.volume.toLatin1() + "=" + QByteArray::number(30 + (song * 7) % 70) + "\r\n";
                if (withIcons)
                    writeIcon(icon, theme * 50 + song);
            }
        }
        text += "[TemaArtist]\r\n";
        for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
            text += "Button" + QByteArray::number(theme) + "=" + *ansi.encode(QString::fromUtf8("Артист %1").arg(theme)) + "\r\n";
            text += "Icon" + QByteArray::number(theme) + "=C:\\KARVEL\\ICONS\\artist" + QByteArray::number(theme) + ".bmp\r\n";
        }
        if (withIcons) {
            writeIcon(kit::folders::NoSongIcon, 1);
            writeIcon(kit::folders::NoThemeIcon, 2);
        }
        hostPath = dir.path() + QStringLiteral("/KARVEL/TEMES/First.qbk");
        QFile file(hostPath);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        file.close();
        bytes = text.size();
        // A kit at rest, as the ones users play from are: its change stamps are seconds old,
        // past the settling time in which the INI layer also compares the file's bytes.
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }

    QTemporaryDir dir;
    platform::WinPath paths;
    QString name = kit::folders::DefaultKit;
    QString hostPath;
    qint64 bytes = 0;

private:
    // A 32x32 Windows bitmap, different for every seed.
    void writeIcon(const QString &windowsPath, int seed)
    {
        QImage image(32, 32, QImage::Format_RGB888);
        image.fill(QColor::fromHsv(seed * 37 % 360, 160, 230));
        QPainter painter(&image);
        painter.setBrush(QColor::fromHsv(seed * 91 % 360, 255, 120));
        painter.drawEllipse(4 + seed % 8, 6, 18, 20);
        painter.end();
        QString host = paths.toHost(windowsPath);
        QDir().mkpath(QFileInfo(host).absolutePath());
        image.save(host, "BMP");
    }
};
