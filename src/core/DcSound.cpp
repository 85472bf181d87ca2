// SPDX-License-Identifier: GPL-3.0-or-later
#include "DcSound.h"

#include "CoreLog.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {

// Slack on top of the file's length before the silent fallback declares the sound over:
// the audio device needs a moment to open and drain.
constexpr int kFallbackSlackMs = 1500;

quint32 le32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const char *p) { return qFromLittleEndian<quint16>(p); }

} // namespace

DcSound::DcSound(const QString &file, QObject *parent)
    : QObject(parent)
    , m_file(file)
{
}

DcSound::~DcSound()
{
    m_bPlaying = false;
    if (m_pEffect)
        m_pEffect->stop();
}

void DcSound::SetSoundFile(const QString &file)
{
    if (file == m_file)
        return;
    Stop();
    m_file = file;
}

QString DcSound::SoundFile() const { return m_file; }

int DcSound::DurationMs() const { return WavDurationMs(m_file); }

int DcSound::WavDurationMs(const QString &file)
{
    QFile in(file);
    if (file.isEmpty() || !in.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = in.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return -1;
    quint32 byteRate = 0;
    bool pcm = false;
    // Walk the chunks: "fmt " gives the rate, "data" the length. Chunks are word-aligned.
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(8);
        if (chunk.size() < 8)
            return -1;
        const quint32 size = le32(chunk.constData() + 4);
        if (chunk.startsWith("fmt ")) {
            const QByteArray fmt = in.read(qMin<quint32>(size, 40));
            if (fmt.size() < 16)
                return -1;
            const quint16 format = le16(fmt.constData());
            const quint16 channels = le16(fmt.constData() + 2);
            byteRate = le32(fmt.constData() + 8);
            pcm = (format == 1 || format == 0xFFFE) && channels >= 1 && channels <= 8;
            if (!in.seek(in.pos() - fmt.size() + size + (size & 1)))
                return -1;
        } else if (chunk.startsWith("data")) {
            if (!pcm || byteRate == 0)
                return -1;
            const qint64 available = qMin<qint64>(size, in.size() - in.pos());
            return int(available * 1000 / byteRate);
        } else if (!in.seek(in.pos() + size + (size & 1))) {
            return -1;
        }
    }
    return -1;
}

bool DcSound::Play()
{
    const int duration = WavDurationMs(m_file);
    if (duration < 0) {
        qCWarning(lcCoreSound) << "cannot play" << m_file << ": missing or not a PCM WAV file";
        return false;
    }
    Stop();
    m_bPlaying = true;
    m_bEffectStarted = false;
    if (!m_pFallback) {
        m_pFallback = new QTimer(this);
        m_pFallback->setSingleShot(true);
        connect(m_pFallback, &QTimer::timeout, this, &DcSound::finish);
    }
    m_pFallback->start(duration + kFallbackSlackMs);

    if (QMediaDevices::defaultAudioOutput().isNull()) {
        qCDebug(lcCoreSound) << "no audio output; playing" << m_file << "silently";
        return true;
    }
    if (!m_pEffect) {
        m_pEffect = new QSoundEffect(this);
        connect(m_pEffect, &QSoundEffect::playingChanged, this, &DcSound::onPlayingChanged);
        connect(m_pEffect, &QSoundEffect::statusChanged, this, &DcSound::onStatusChanged);
    }
    m_pEffect->setSource(QUrl::fromLocalFile(m_file));
    m_pEffect->play();
    return true;
}

void DcSound::Stop()
{
    const bool wasPlaying = m_bPlaying;
    m_bPlaying = false;
    if (m_pFallback)
        m_pFallback->stop();
    if (wasPlaying && m_pEffect)
        m_pEffect->stop();
}

bool DcSound::IsPlaying() const { return m_bPlaying; }

void DcSound::onPlayingChanged()
{
    if (!m_bPlaying || !m_pEffect)
        return;
    if (m_pEffect->isPlaying())
        m_bEffectStarted = true;
    else if (m_bEffectStarted)
        finish();
}

void DcSound::onStatusChanged()
{
    if (m_bPlaying && m_pEffect && m_pEffect->status() == QSoundEffect::Error) {
        qCWarning(lcCoreSound) << "audio output failed for" << m_file << "; finishing silently";
        m_pEffect->stop();
        // The fallback timer still ends the sound after its length.
    }
}

void DcSound::finish()
{
    if (!m_bPlaying)
        return;
    m_bPlaying = false;
    if (m_pFallback)
        m_pFallback->stop();
    emit finished();
}
