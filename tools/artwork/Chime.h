// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>

namespace Artwork {

// A short two-note chime as a complete RIFF/WAVE file: 16-bit PCM, mono, 22050 Hz.
QByteArray chimeWav();

} // namespace Artwork
