// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Button captions that may not fit: translations differ wildly in length, and a button of
// fixed width must still say what it does. The full text moves to the tooltip.
#include <QFontMetrics>
#include <QRegularExpression>
#include <QString>

namespace SmsWidgetText {

// Shows text on widget, elided with mode when wider than width pixels in the widget's
// font; the tooltip then carries the full text (without the mnemonic marker), otherwise it
// is cleared. Null is ignored.
template<typename Widget>
void setElidedTextForWidgetText(Widget *widget, const QString &text, int width,
                                Qt::TextElideMode mode)
{
    if (!widget)
        return;
    const QFontMetrics metrics(widget->font());
    if (metrics.boundingRect(text).width() > width) {
        widget->setText(metrics.elidedText(text, mode, width));
        QString shown = text;
        shown.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
        widget->setToolTip(shown);
    } else {
        widget->setText(text);
        widget->setToolTip(QString());
    }
}

} // namespace SmsWidgetText
