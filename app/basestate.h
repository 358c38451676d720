#pragma once

#include <QString>

/**
 * The selection state the main window and the button editor share: which kit, theme and song
 * are current, and what the last activation or edit left behind. One instance lives for the
 * whole run and is handed to both windows.
 */
struct BaseState
{
    QString KitFileName = QStringLiteral("-");
    QString SectionName = QStringLiteral("Section1");
    int TemaNumber = 1;
    int TemaEditNumber = 1;
    QString TemaCaption = QStringLiteral("Artist-20");
    int SongNumber = 1;
    QString SongCaption = QStringLiteral("Song");
    QString TextFileName = QStringLiteral("-");
    QString SongFileName = QStringLiteral("-");
    QString IconFileName = QStringLiteral("-");
    int SongVolume = 1;
    int FadeTarget = 1;
    bool SongLoaded = false;
    bool SeekEnabled = true;
    int EditMode = 1; // 1 song, 2 theme, 3 new kit
    bool MixerReady = false;
    quint8 FormRed = 127;
    quint8 FormGreen = 127;
    quint8 FormBlue = 127;
};
