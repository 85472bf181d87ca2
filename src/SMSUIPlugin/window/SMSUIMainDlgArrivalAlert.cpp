// SPDX-License-Identifier: GPL-3.0-or-later
// The new-message alerts of the window itself: the alert sound and the flash-message window.
#include "SMSUIMainDlg.h"

#include <QPushButton>
#include <QTextEdit>

#include "CommonUtils.h"
#include "DcSound.h"
#include "notify/SMSFlashMessageDlg.h"
#include "notify/SMSTaskbarNotifier.h"
#include "store/SMSStatusUILogic.h"
#include "store/SmsRecord.h"
#include "SmsLog.h"

DcSound *SMSUIMainDlg::m_pDcSoundplay = nullptr;

void SMSUIMainDlg::playSoundAlert()
{
    if (!m_pStatusLogicObject) {
        qCWarning(lcSmsWindow) << "m_pStatusLogicObject is NULL: no alert sound";
        return;
    }
    if (!smsSetting("SoundAlert", true)) {
        qCDebug(lcSmsWindow) << "SoundAlert value is false";
        return;
    }
    QString file;
    m_pStatusLogicObject->GetSMSSoundAlertFile(file);
    if (file.isEmpty()) {
        qCDebug(lcSmsWindow) << "SoundAlert file path is empty";
        return;
    }
    if (!m_pDcSoundplay) {
        m_pDcSoundplay = new DcSound(file);
        connect(m_pDcSoundplay, &DcSound::finished, m_pDcSoundplay,
                &SMSUIMainDlg::onSoundPlayFinish);
    }
    if (!m_pDcSoundplay->Play()) {
        // The next alert starts again from the settings with a new player.
        qCWarning(lcSmsWindow) << "alert sound" << m_pDcSoundplay->SoundFile() << "not played";
        delete m_pDcSoundplay;
        m_pDcSoundplay = nullptr;
    }
}

void SMSUIMainDlg::setSoundFileBySetting(const QString &file)
{
    if (!m_pDcSoundplay) {
        m_pDcSoundplay = new DcSound(file);
        connect(m_pDcSoundplay, &DcSound::finished, m_pDcSoundplay,
                &SMSUIMainDlg::onSoundPlayFinish);
        return;
    }
    if (!file.isEmpty())
        m_pDcSoundplay->SetSoundFile(file);
}

void SMSUIMainDlg::stopPlayingSound()
{
    if (m_pDcSoundplay)
        m_pDcSoundplay->Stop();
}

void SMSUIMainDlg::onSoundPlayFinish()
{
    // Called from the player's own signal: it goes once that signal has returned.
    if (DcSound *player = std::exchange(m_pDcSoundplay, nullptr))
        player->deleteLater();
}

SMSFlashMessageDlg *SMSUIMainDlg::flashMessageWindow() const
{
    return m_pFlashDialog;
}

void SMSUIMainDlg::showFlashMessage(const QString &content, const QString &number,
                                    const QString &time)
{
    delete m_pFlashDialog.data();
    FlashTexts texts;
    if (m_pStatusLogicObject)
        texts.name = escapeForPreview(m_pStatusLogicObject->getNameByNumberFromPhoneBook(number));
    texts.number = escapeForPreview(number);
    // Shown as text: markup in a message stays literal, line breaks stay line breaks.
    texts.content = linkedForPreview(content);
    // Written as the tables write times (the interface language's short format), so the
    // same message does not carry two different-looking dates.
    texts.time = escapeForPreview(SmsDisplayTime(time));
    // A flash message is stored nowhere: one that arrives while another is still shown
    // goes on top of it instead of replacing it, so the user reads both.
    m_flashMessages.prepend(texts);

    auto *dialog = new SMSFlashMessageDlg;
    m_pFlashDialog = dialog;
    fillFlashWindow();
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
    connect(dialog->closeButton(), &QPushButton::clicked, this,
            &SMSUIMainDlg::onCloseFlashMsgDialog);
    // Closed from its title bar or with Escape: the same as its Close button.
    connect(dialog, &QDialog::finished, this, &SMSUIMainDlg::onCloseFlashMsgDialog);
}

void SMSUIMainDlg::setLanguageToFlashMessage()
{
    // The pop-up follows a language change together with the flash window.
    if (SMSTaskbarNotifier *popup = SMSTaskbarNotifier::existingInstance())
        popup->LoadText();
    fillFlashWindow();
}

void SMSUIMainDlg::fillFlashWindow()
{
    if (!m_pFlashDialog)
        return;
    QStringList parts;
    for (const FlashTexts &t : std::as_const(m_flashMessages))
        parts << SMSFlashMessageDlg::messageHtml(t.name, t.number, t.content, t.time);
    m_pFlashDialog->retranslate();
    m_pFlashDialog->setMessageHtml(parts.join(QStringLiteral("<HR>")));
}

void SMSUIMainDlg::onCloseFlashMsgDialog()
{
    SMSFlashMessageDlg *dialog = m_pFlashDialog;
    m_pFlashDialog = nullptr;
    m_flashMessages.clear();
    if (dialog) {
        disconnect(dialog, nullptr, this, nullptr);
        disconnect(dialog->closeButton(), nullptr, this, nullptr);
        dialog->close();
        dialog->deleteLater();
    }
    stopPlayingSound();
}

void SMSUIMainDlg::releaseArrivalResources()
{
    delete m_pFlashDialog.data();
    m_flashMessages.clear();
    SMSTaskbarNotifier::Destroy();
    delete m_pDcSoundplay;
    m_pDcSoundplay = nullptr;
}
