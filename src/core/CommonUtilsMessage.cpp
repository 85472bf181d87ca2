// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes and the responder that answers them in tests and scripted runs.
#include "Change.h"
#include "CommonUtils.h"
#include "CoreLog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QPointer>
#include <QPushButton>
#include <QThread>

namespace {

QMutex g_responderMutex;
MessageResponder g_responder;

MessageResponder currentResponder()
{
    QMutexLocker lock(&g_responderMutex);
    return g_responder;
}

int showBox(const MessageRequest &request, QMessageBox **boxOut)
{
    // Hints alone (say WindowCloseButtonHint) carry no window type and would turn the box
    // into a child widget.
    Qt::WindowFlags flags = request.flags;
    if (!(flags & Qt::WindowType_Mask))
        flags |= Qt::Dialog;
    QMessageBox box(request.icon, request.title, request.text, QMessageBox::NoButton,
                    request.parent, flags);
    box.setObjectName(QStringLiteral("dialcrest_MessageBox"));
    // Texts may carry a number or a name from outside: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(request.modal ? Qt::ApplicationModal : Qt::WindowModal);
    if (!request.extraText.isEmpty())
        box.setInformativeText(request.extraText);

    // With ShowMessage the platform orders the buttons by role; the customised box keeps
    // the caller's order, which only holds when all buttons share one role.
    const QString keys[3] = {request.button1, request.button2, request.button3};
    const QMessageBox::ButtonRole roles[3] = {
        request.customize ? QMessageBox::ActionRole : QMessageBox::AcceptRole,
        request.customize ? QMessageBox::ActionRole : QMessageBox::RejectRole,
        request.customize ? QMessageBox::ActionRole : QMessageBox::DestructiveRole};
    const int results[3] = {CommonUtils::FirstButton, CommonUtils::SecondButton,
                            CommonUtils::ThirdButton};
    QAbstractButton *buttons[3] = {nullptr, nullptr, nullptr};
    for (int i = 0; i < 3; ++i) {
        if (keys[i].isEmpty())
            continue;
        buttons[i] = box.addButton(Change::tr(keys[i], QString::fromLatin1(Change::HostContext)),
                                   roles[i]);
        buttons[i]->setObjectName(QStringLiteral("dialcrest_MessageBoxButton%1").arg(i + 1));
    }
    if (!buttons[0] && !buttons[1] && !buttons[2])
        buttons[0] = box.addButton(QMessageBox::Ok);
    if (buttons[0])
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons[0]));
    // Closing the box (Escape, the title bar's close button) answers like the button the
    // request names, the third by default. A message box only closes through an escape
    // button, so a box without that button gets an invisible one.
    QAbstractButton *escape = nullptr;
    for (int i = 0; i < 3; ++i) {
        if (results[i] == request.closeAnswer)
            escape = buttons[i];
    }
    if (!escape) {
        escape = box.addButton(QString(), QMessageBox::RejectRole);
        escape->setObjectName(QStringLiteral("dialcrest_MessageBoxClose"));
        escape->hide();
    }
    box.setEscapeButton(escape);

    if (request.centre) {
        box.adjustSize();
        CommonUtils::MoveCentre(&box);
    }
    if (boxOut)
        *boxOut = &box;
    box.exec();
    if (boxOut)
        *boxOut = nullptr;

    QAbstractButton *clicked = box.clickedButton();
    for (int i = 0; i < 3; ++i) {
        if (clicked && clicked == buttons[i])
            return results[i];
    }
    return request.closeAnswer;  // closed, or closed from outside
}

int dispatch(const MessageRequest &request, QMessageBox **boxOut)
{
    if (boxOut)
        *boxOut = nullptr;
    if (const MessageResponder responder = currentResponder()) {
        const int answer = responder(request);
        qCDebug(lcCoreUi) << "message box answered by the responder:" << request.text << answer;
        return answer;
    }
    // Widgets exist only on the GUI thread; a box asked for elsewhere is refused.
    if (!qApp || QThread::currentThread() != qApp->thread()) {
        qCWarning(lcCoreUi) << "message box requested outside the GUI thread, answered as closed:"
                            << request.text;
        return request.closeAnswer;
    }
    return showBox(request, boxOut);
}

MessageRequest makeRequest(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                           const QString &text, const QString &button1,
                           const QString &button2, const QString &button3, bool modal,
                           Qt::WindowFlags flags, const QString &extraText, bool centre,
                           bool customize, int closeAnswer = CommonUtils::ThirdButton)
{
    MessageRequest request;
    request.icon = icon;
    request.parent = parent;
    request.title = title;
    request.text = text;
    request.button1 = button1;
    request.button2 = button2;
    request.button3 = button3;
    request.modal = modal;
    request.flags = flags;
    request.extraText = extraText;
    request.centre = centre;
    request.customize = customize;
    request.closeAnswer = closeAnswer;
    return request;
}

} // namespace

int CommonUtils::ShowMessage(QMessageBox::Icon icon, QWidget *parent, const QString &title,
                             const QString &text, const QString &button1,
                             const QString &button2, const QString &button3, bool modal,
                             Qt::WindowFlags flags, QMessageBox **box,
                             const QString &extraText, bool centre)
{
    return dispatch(makeRequest(icon, parent, title, text, button1, button2, button3, modal,
                                flags, extraText, centre, false),
                    box);
}

int CommonUtils::ShowMessageCustomize(QMessageBox::Icon icon, QWidget *parent,
                                      const QString &title, const QString &text,
                                      const QString &button1, const QString &button2,
                                      const QString &button3, bool modal,
                                      Qt::WindowFlags flags, QMessageBox **box,
                                      const QString &extraText, bool centre, int closeAnswer)
{
    return dispatch(makeRequest(icon, parent, title, text, button1, button2, button3, modal,
                                flags, extraText, centre, true, closeAnswer),
                    box);
}

MessageResponder CommonUtils::SetMessageResponder(MessageResponder responder)
{
    QMutexLocker lock(&g_responderMutex);
    MessageResponder previous = std::move(g_responder);
    g_responder = std::move(responder);
    return previous;
}
