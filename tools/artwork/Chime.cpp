// SPDX-License-Identifier: GPL-3.0-or-later
#include "Chime.h"

#include <QtEndian>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace Artwork {

namespace {

constexpr int kRate = 22050;
constexpr double kSeconds = 0.75;

struct Note
{
    double start;      // seconds
    double frequency;  // Hz
};

// A soft bell: fundamental plus two quiet overtones, fast attack, exponential decay.
double bell(double t, double frequency)
{
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.006);
    const double decay = std::exp(-t / 0.16);
    const double w = 2 * M_PI * frequency * t;
    return attack * decay * (std::sin(w) + 0.28 * std::sin(2 * w) + 0.08 * std::sin(3 * w));
}

template<typename T>
void append(QByteArray &out, T value)
{
    const T le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&le), sizeof le);
}

} // namespace

QByteArray chimeWav()
{
    // G5 then C6: a rising fourth reads as friendly rather than alarming.
    const Note notes[] = {{0.0, 783.99}, {0.17, 1046.50}};
    const int count = int(kRate * kSeconds);
    QVector<double> samples(count, 0.0);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        for (const Note &n : notes)
            samples[i] += bell(t - n.start, n.frequency);
        const double tail = (kSeconds - t) / 0.03;  // fade out the last 30 ms: no click
        if (tail < 1)
            samples[i] *= tail;
    }
    double peak = 0;
    for (double s : samples)
        peak = std::max(peak, std::abs(s));
    const double gain = peak > 0 ? 0.55 * 32767 / peak : 0;

    QByteArray data;
    data.reserve(count * 2);
    for (double s : samples)
        append<qint16>(data, qint16(std::lround(s * gain)));

    QByteArray wav;
    wav.append("RIFF");
    append<quint32>(wav, quint32(36 + data.size()));
    wav.append("WAVE");
    wav.append("fmt ");
    append<quint32>(wav, 16);            // fmt chunk size
    append<quint16>(wav, 1);             // PCM
    append<quint16>(wav, 1);             // mono
    append<quint32>(wav, kRate);
    append<quint32>(wav, kRate * 2);     // byte rate
    append<quint16>(wav, 2);             // block align
    append<quint16>(wav, 16);            // bits per sample
    wav.append("data");
    append<quint32>(wav, quint32(data.size()));
    wav.append(data);
    return wav;
}

} // namespace Artwork
