// SPDX-License-Identifier: GPL-3.0-or-later
// Translations: compiled catalogues beside libcore, English as the fallback of every other
// language, and the layout direction that goes with the language.
#include "Change.h"

#include "CommonUtils.h"
#include "CoreLog.h"

#include <QDir>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QReadWriteLock>
#include <QThread>
#include <QTranslator>

#include <memory>

namespace {

struct Catalogues
{
    QReadWriteLock lock;
    bool initialised = false;
    QString language;
    std::unique_ptr<QTranslator> current;
    std::unique_ptr<QTranslator> english;  // fallback when current is not English
    // Qt's own texts (standard buttons, file dialogs), installed in the application;
    // touched on the GUI thread only.
    std::unique_ptr<QTranslator> qt;
};

Catalogues &catalogues()
{
    static Catalogues c;
    return c;
}

QString qmPath(const QString &language)
{
    return Change::TranslationsFolder() + QStringLiteral("/dialcrest_") + language
        + QStringLiteral(".qm");
}

std::unique_ptr<QTranslator> loadCatalogue(const QString &language)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(qmPath(language))) {
        qCWarning(lcCoreI18n) << "cannot load the catalogue" << qmPath(language);
        return nullptr;
    }
    return translator;
}

// Called with the write lock held.
bool switchTo(Catalogues &c, const QString &language)
{
    std::unique_ptr<QTranslator> translator = loadCatalogue(language);
    if (!translator)
        return false;
    if (!c.english && language != QLatin1String(Change::DefaultLanguage))
        c.english = loadCatalogue(QString::fromLatin1(Change::DefaultLanguage));
    c.current = std::move(translator);
    c.language = language;
    c.initialised = true;
    return true;
}

void ensureInitialised()
{
    Catalogues &c = catalogues();
    {
        QReadLocker read(&c.lock);
        if (c.initialised)
            return;
    }
    QWriteLocker write(&c.lock);
    if (c.initialised)
        return;
    const QString stored = CommonUtils::GetSettings(QStringLiteral("customize"),
                                                    QStringLiteral("language"));
    if (stored.isEmpty() || !switchTo(c, stored))
        switchTo(c, QString::fromLatin1(Change::DefaultLanguage));
    // Without any catalogue tr() returns keys; do not retry on every call.
    c.initialised = true;
    if (c.language.isEmpty())
        c.language = QString::fromLatin1(Change::DefaultLanguage);
}

// The raw translation ("text<TAB>shortcut"), empty when missing. Read lock held by caller.
QString lookup(const Catalogues &c, const QString &key, const QString &context)
{
    const QByteArray k = key.toUtf8();
    const QByteArray ctx = context.toUtf8();
    for (const QTranslator *t : {c.current.get(), c.english.get()}) {
        if (!t)
            continue;
        QString text = t->translate(ctx.constData(), k.constData());
        if (text.isEmpty() && context != QLatin1String(Change::HostContext))
            text = t->translate(Change::HostContext, k.constData());
        if (!text.isEmpty())
            return text;
    }
    return QString();
}

// Qt writes its own texts in English; any other language needs Qt's catalogue beside ours,
// or dialogs mix our texts with English "OK" and "Cancel". A missing catalogue is not an
// error worth more than a line: those few texts then stay English.
void installQtCatalogue(Catalogues &c, const QString &language)
{
    if (c.qt) {
        QCoreApplication::removeTranslator(c.qt.get());
        c.qt.reset();
    }
    if (language == QLatin1String(Change::DefaultLanguage))
        return;
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(language), QStringLiteral("qt"), QStringLiteral("_"), folder)) {
        qCWarning(lcCoreI18n) << "no Qt catalogue for" << language << "in" << folder;
        return;
    }
    c.qt = std::move(translator);
    QCoreApplication::installTranslator(c.qt.get());
}

} // namespace

Change::Change() = default;

Change *Change::instance()
{
    static Change *self = new Change;  // lives as long as the process
    return self;
}

QString Change::tr(const QString &key, const QString &context)
{
    QString text;
    QKeySequence shortcut;
    tr(key, context, text, shortcut);
    return text;
}

bool Change::tr(const QString &key, const QString &context, QString &text,
                QKeySequence &shortcut)
{
    ensureInitialised();
    QString raw;
    {
        Catalogues &c = catalogues();
        QReadLocker read(&c.lock);
        raw = lookup(c, key, context);
    }
    shortcut = QKeySequence();
    if (raw.isEmpty()) {
        text = key;
        return false;
    }
    const qsizetype tab = raw.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        text = raw;
    } else {
        text = raw.left(tab);
        shortcut = QKeySequence(raw.mid(tab + 1).trimmed(), QKeySequence::PortableText);
    }
    return true;
}

bool Change::HasTranslation(const QString &key, const QString &context)
{
    ensureInitialised();
    Catalogues &c = catalogues();
    QReadLocker read(&c.lock);
    return !lookup(c, key, context).isEmpty();
}

QString Change::GetLangName()
{
    ensureInitialised();
    Catalogues &c = catalogues();
    QReadLocker read(&c.lock);
    return c.language;
}

bool Change::SetLanguage(const QString &name)
{
    ensureInitialised();
    {
        Catalogues &c = catalogues();
        QWriteLocker write(&c.lock);
        if (!switchTo(c, name))
            return false;
    }
    CommonUtils::SetSettings(QStringLiteral("customize"), QStringLiteral("language"), name);
    // qGuiApp is a plain cast of the application object: a console tool (QCoreApplication)
    // has no layout direction to set.
    const auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (gui && QThread::currentThread() == gui->thread()) {
        installQtCatalogue(catalogues(), name);
        QGuiApplication::setLayoutDirection(IsRightToLeft(name) ? Qt::RightToLeft : Qt::LeftToRight);
        // Dates, times and numbers follow the interface language; the system's own regional
        // format is kept when it is of that language (en_GB stays en_GB under "en").
        const QLocale language(name);
        QLocale::setDefault(QLocale::system().language() == language.language()
                                ? QLocale::system()
                                : language);
    }
    qCDebug(lcCoreI18n) << "language is now" << name;
    emit instance()->languageChanged(name);
    return true;
}

bool Change::IsRightToLeft(const QString &name)
{
    static const QStringList rtl = {QStringLiteral("ar"), QStringLiteral("he"),
                                    QStringLiteral("fa"), QStringLiteral("ur")};
    return rtl.contains(name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0),
                        Qt::CaseInsensitive);
}

QStringList Change::AvailableLanguages()
{
    QStringList languages;
    const QStringList files = QDir(TranslationsFolder())
                                  .entryList({QStringLiteral("dialcrest_*.qm")}, QDir::Files,
                                             QDir::Name);
    for (const QString &file : files)
        languages << file.mid(10, file.size() - 13);  // "dialcrest_" ... ".qm"
    return languages;
}

QString Change::TranslationsFolder()
{
    const QString override = qEnvironmentVariable("DIALCREST_TRANSLATIONS");
    if (!override.isEmpty())
        return QDir::cleanPath(override);
    return CommonUtils::InstalledDataPath() + QStringLiteral("/translations");
}
