#pragma once

#include <QString>

namespace platform {
class WinPath;
}

/** The kit file: its sections, keys, the defaults each reader passes, and the program's folders. */
namespace kit {

inline constexpr int ThemeCount = 20;
inline constexpr int SongCount = 50;

/** The value that stands for "no file" wherever a path is kept. */
inline const QString NoFile = QStringLiteral("-");

/** The status line's text when the kit file is missing; the letter before "темами" is a Latin c. */
inline const QString MissingKitStatus = QStringLiteral("Не могу найти файл ") + u'c' + QStringLiteral(" темами! ");

inline const QString ThemeSection = QStringLiteral("TemaArtist");
inline const QString OptionSection = QStringLiteral("Option");
inline const QString OptionFileKey = QStringLiteral("File");

/** The program's fixed files and folders. */
namespace folders {
inline const QString DefaultKit = QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk");
inline const QString Kits = QStringLiteral("C:\\KARVEL\\TEMES");
inline const QString NewKit = QStringLiteral("C:\\KARVEL\\TEMES\\New001.qbk");
inline const QString Texts = QStringLiteral("C:\\KARVEL\\TEXTS");
inline const QString Songs = QStringLiteral("C:\\KARVEL\\SONGS");
inline const QString Icons = QStringLiteral("C:\\KARVEL\\ICONS");
inline const QString NoText = QStringLiteral("C:\\KARVEL\\NoRtf.rtf");
inline const QString NoSongIcon = QStringLiteral("C:\\KARVEL\\NoIcoS.bmp");
inline const QString NoThemeIcon = QStringLiteral("C:\\KARVEL\\NoIcoT.bmp");
inline const QString Splash = QStringLiteral("C:\\KARVEL\\Zastavka.jpg");
} // namespace folders

/** "Section" + T: the section of theme T's songs. */
QString sectionName(int theme);

/** A key of entry n: the prefix and n in decimal, without leading zeros ("Vol" and 7 give Vol7). */
QString keyName(QStringView prefix, int n);

/** "Song-" + n and "Artist-" + t: the captions of buttons without an entry. */
QString defaultSongCaption(int song);
QString defaultThemeCaption(int theme);

/** The keys of one song entry and of one theme entry. */
struct SongKeys
{
    QString caption, text, song, icon, volume;
};
SongKeys songKeys(int song);

struct ThemeKeys
{
    QString caption, icon;
};
ThemeKeys themeKeys(int theme);

/** What a song entry's keys read as when absent, for each program part that reads them. */
struct SongDefaults
{
    QString caption, text, song, icon;
    int volume;
};
/** The board: captions "Song-N", icons "-". */
SongDefaults boardSongDefaults(int song);
/** Song activation: "No Name", the no-text file, no song, no icon, volume 50. */
SongDefaults activationSongDefaults();
/** The button editor: "Song-N", "-" for the three files, volume 50. */
SongDefaults editorSongDefaults(int song);

struct ThemeDefaults
{
    QString caption, icon;
};
/** The board: "Artist-T", icon "-". */
ThemeDefaults boardThemeDefaults(int theme);
/** The button editor: "Artist-T", the no-icon picture of themes. */
ThemeDefaults editorThemeDefaults(int theme);

/** A path value names a usable file: "-", an empty value and a missing file are all no file. */
bool namesFile(const platform::WinPath &paths, const QString &value);

} // namespace kit
