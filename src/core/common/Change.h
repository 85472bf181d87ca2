// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's translator. Texts are looked up by IDS_ key and context ("SMSUIPlugin" for
// the SMS plug-in, HostContext for the host's own) in compiled Qt Linguist catalogues
// (translations/dialcrest_<lang>.qm beside libcore). A translation may end with a TAB and
// a key sequence ("Delete\tDel"): the two-argument tr returns the text before the TAB.
#include "CoreExport.h"

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QStringList>

class DIALCREST_CORE_EXPORT Change : public QObject
{
    Q_OBJECT
public:
    // Context of the host's own texts (message-box buttons and the like); a key missing
    // from the caller's context is looked up there as well.
    static constexpr const char *HostContext = "dialcrest";
    static constexpr const char *DefaultLanguage = "en";

    // The text of key, without any shortcut part; the key itself when no catalogue has it.
    static QString tr(const QString &key, const QString &context);
    // text := the text of key (the key when missing), shortcut := the key sequence after
    // the TAB (empty when there is none). True when the key was found.
    static bool tr(const QString &key, const QString &context, QString &text,
                   QKeySequence &shortcut);
    // True when the current catalogue (or the host context) has key.
    static bool HasTranslation(const QString &key, const QString &context);

    // The current language ("en", "ar"). Before any SetLanguage: the host setting
    // "customize"/"language" when it names an available language, else "en".
    static QString GetLangName();
    // Loads the catalogue of name and makes it current; with a right-to-left language
    // the application's layout direction becomes right-to-left (left-to-right
    // otherwise). False, with the current language kept, when no catalogue exists.
    // The host then sends the language-change event to its plug-ins.
    static bool SetLanguage(const QString &name);
    static bool IsRightToLeft(const QString &name);
    // Languages with a catalogue on disk.
    static QStringList AvailableLanguages();
    // Folder of the .qm files: $DIALCREST_TRANSLATIONS when set, else translations/ in
    // CommonUtils::InstalledDataPath().
    static QString TranslationsFolder();

    // Emits languageChanged after every successful SetLanguage.
    static Change *instance();

signals:
    void languageChanged(const QString &name);

private:
    Change();
};
