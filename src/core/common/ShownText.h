// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text that comes from outside (a sender, a message, a contact name) shown among the
// application's own words. Such text may hold markup, entities, bidirectional overrides,
// isolates without their ends or half a surrogate pair; shown as it is, it could load
// files through rich text or turn the labels and the time around it backwards.
//
// A field is the text isolated in its own reading direction (first-strong isolate), with
// every override, embedding and isolate it opens closed inside it and every stray closer
// dropped, and lone surrogates replaced by U+FFFD. Each function returns a new string.
#include "CoreExport.h"

#include <QString>

namespace ShownText {

// The field for plain-text widgets (labels set to Qt::PlainText, the status bar, title
// bars). Empty text stays empty.
DIALCREST_CORE_EXPORT QString field(const QString &text);

// The field escaped for a rich-text widget: markup and entities in text show literally.
DIALCREST_CORE_EXPORT QString htmlField(const QString &text);

// Rich text for QToolTip (which would otherwise guess the format from the text) that
// shows the field literally, line breaks kept.
DIALCREST_CORE_EXPORT QString toolTip(const QString &text);

} // namespace ShownText
