// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of the application's own windows. Each has an IDS_ key in the host's translation
// context; until a catalogue carries the key, the English text given here is shown.
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QObject;

namespace HostText {

QString text(const char *key, const char *english);

// Applies the text now and again after every language change, for as long as owner lives.
void bind(QObject *owner, const char *key, const char *english, std::function<void(const QString &)> apply);
void bind(QAction *action, const char *key, const char *english);
void bind(QMenu *menu, const char *key, const char *english);
// Re-applies every bound text (after Change::SetLanguage).
void retranslateAll();

} // namespace HostText
