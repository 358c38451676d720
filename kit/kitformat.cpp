#include "kit/kitformat.h"

#include "platform/winpath.h"

namespace kit {

QString sectionName(int theme) { return keyName(u"Section", theme); }

QString keyName(QStringView prefix, int n) { return prefix.toString() + QString::number(n); }

QString defaultSongCaption(int song) { return keyName(u"Song-", song); }

QString defaultThemeCaption(int theme) { return keyName(u"Artist-", theme); }

SongKeys songKeys(int song)
{
    return {keyName(u"Button", song), keyName(u"Text", song), keyName(u"Song", song), keyName(u"Icon", song),
            keyName(u"Vol", song)};
}

ThemeKeys themeKeys(int theme) { return {keyName(u"Button", theme), keyName(u"Icon", theme)}; }

SongDefaults boardSongDefaults(int song) { return {defaultSongCaption(song), NoFile, NoFile, NoFile, 50}; }

SongDefaults activationSongDefaults()
{
    return {QStringLiteral("No Name"), folders::NoText, QString(), NoFile, 50};
}

SongDefaults editorSongDefaults(int song) { return {defaultSongCaption(song), NoFile, NoFile, NoFile, 50}; }

ThemeDefaults boardThemeDefaults(int theme) { return {defaultThemeCaption(theme), NoFile}; }

ThemeDefaults editorThemeDefaults(int theme) { return {defaultThemeCaption(theme), folders::NoThemeIcon}; }

bool namesFile(const platform::WinPath &paths, const QString &value)
{
    return !value.isEmpty() && value != NoFile && paths.fileExists(value);
}

} // namespace kit
