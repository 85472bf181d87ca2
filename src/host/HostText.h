#pragma once
// Texts of the application's own windows. Each has an IDS_ key in the host's translation
// context; until a catalogue carries the key, the English text given here is shown.
#include <QString>

namespace HostText {

QString text(const char *key, const char *english);

} // namespace HostText
