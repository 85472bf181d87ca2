// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plays a WAV file once. Play() checks that the file is a readable PCM WAV; the sound goes
// to the default audio output through QSoundEffect. Without an audio output the sound
// "plays" silently for its length, so finished() comes in any case.
#include "CoreExport.h"

#include <QObject>
#include <QString>

class QSoundEffect;
class QTimer;

class DIALCREST_CORE_EXPORT DcSound : public QObject
{
    Q_OBJECT
public:
    explicit DcSound(const QString &file = QString(), QObject *parent = nullptr);
    ~DcSound() override;

    void SetSoundFile(const QString &file);
    QString SoundFile() const;
    // Starts playing from the beginning (restarting a playing sound). False, and nothing
    // plays, when the file is missing or not a PCM WAV file.
    bool Play();
    // Stops; finished() is not emitted for a stopped sound.
    void Stop();
    bool IsPlaying() const;
    // Length of the current file in milliseconds, -1 when it is not a valid WAV file.
    int DurationMs() const;
    // Reads a WAV header; -1 when the file is not a PCM WAV file.
    static int WavDurationMs(const QString &file);

signals:
    void finished();

private:
    void onPlayingChanged();
    void onStatusChanged();
    void finish();

    QString m_file;
    QSoundEffect *m_pEffect = nullptr;
    QTimer *m_pFallback = nullptr;
    bool m_bPlaying = false;
    bool m_bEffectStarted = false;  // the effect reported playing for this Play()
};
