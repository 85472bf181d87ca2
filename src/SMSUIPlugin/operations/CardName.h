// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

namespace CardName {

// The word for the subscriber card, as texts such as "Move the selected messages to %s?"
// and "%s Card" use it: the host's "customize" setting ("uimtype" for a CDMA product, else
// "simtype"), or, where the host configures none, the translated "SIM" (or "UIM"), so that
// no text ever shows a hole where the card's name belongs.
QString forProduct(bool cdma);

} // namespace CardName
