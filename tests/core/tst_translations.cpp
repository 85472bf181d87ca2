// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogues: every key the code uses has a text in every language, shortcuts survive
// translation, and switching language switches the layout direction.
#include "Change.h"
#include "TestEnv.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// Every literal IDS_ key in the plug-in, the host framework and the plug-in's run-time
// files. (The host application's own windows carry English fallbacks of their own.)
QStringList keysUsedByTheCode()
{
    static const QRegularExpression key(QStringLiteral("\\bIDS_[A-Za-z0-9_]+"));
    const QString root = QStringLiteral(DIALCREST_SOURCE_DIR);
    QSet<QString> keys;
    const QStringList folders = {root + QStringLiteral("/src/SMSUIPlugin"),
                                 root + QStringLiteral("/src/core"),
                                 root + QStringLiteral("/plugins/SMSUIPlugin")};
    for (const QString &folder : folders) {
        QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h"),
                                 QStringLiteral("*.xml")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            auto matches = key.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext())
                keys.insert(matches.next().captured());
        }
    }
    QStringList list(keys.cbegin(), keys.cend());
    list.sort();
    return list;
}

// The keys of the plug-in's context in the English catalogue's sources (one file per
// concern), which every other language must cover as well.
QStringList englishCatalogueKeys()
{
    QStringList keys;
    QDirIterator it(QStringLiteral(DIALCREST_SOURCE_DIR "/src/core/translations"),
                    {QStringLiteral("*_en.ts")}, QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QXmlStreamReader xml(&file);
        QString context;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("source")
                     && context == QLatin1String("SMSUIPlugin"))
                keys << xml.readElementText();
        }
    }
    return keys;
}

} // namespace

class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY2(Change::AvailableLanguages().contains(QStringLiteral("en")),
                 qPrintable(Change::TranslationsFolder()));
        QVERIFY(Change::AvailableLanguages().contains(QStringLiteral("ar")));
        const QStringList used = keysUsedByTheCode();
        QVERIFY2(used.size() > 20, "the key scan found too few keys");
        const QStringList catalogue = englishCatalogueKeys();
        QVERIFY2(catalogue.size() > 100, "the English catalogue could not be read");
        m_keys = used + catalogue;
        m_keys.removeDuplicates();
    }
    void cleanup() { Change::SetLanguage(QStringLiteral("en")); }

    void everyKeyIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("en");
        QTest::newRow("Arabic") << QStringLiteral("ar");
    }
    void everyKeyIsTranslated()
    {
        QFETCH(QString, language);
        QVERIFY(Change::SetLanguage(language));
        QStringList missing;
        for (const QString &key : std::as_const(m_keys)) {
            if (!Change::HasTranslation(key, QStringLiteral("SMSUIPlugin")))
                missing << key;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
    }

    // The right-to-left catalogue is a translation, not a copy, and keeps every shortcut.
    void arabicKeepsShortcutsAndDiffers()
    {
        QHash<QString, QPair<QString, QKeySequence>> english;
        for (const QString &key : std::as_const(m_keys)) {
            QString text;
            QKeySequence shortcut;
            Change::tr(key, QStringLiteral("SMSUIPlugin"), text, shortcut);
            english.insert(key, {text, shortcut});
        }
        QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
        int arabicTexts = 0;
        for (const QString &key : std::as_const(m_keys)) {
            QString text;
            QKeySequence shortcut;
            Change::tr(key, QStringLiteral("SMSUIPlugin"), text, shortcut);
            QCOMPARE(shortcut, english.value(key).second);
            const bool hasArabicLetter = std::any_of(text.cbegin(), text.cend(), [](QChar c) {
                return c.script() == QChar::Script_Arabic;
            });
            arabicTexts += hasArabicLetter ? 1 : 0;
        }
        // Brand names and numbers may stay as they are, but nearly everything is Arabic.
        QVERIFY2(arabicTexts >= m_keys.size() * 9 / 10, qPrintable(QString::number(arabicTexts)));
    }

    void tabSplitsShortcut_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("shortcut");
        QTest::addColumn<bool>("found");
        QTest::newRow("delete") << "IDS_MENU_DELETE" << "Delete" << QKeySequence(Qt::Key_Delete) << true;
        QTest::newRow("new") << "IDS_MENU_NEW" << "New Message" << QKeySequence(Qt::CTRL | Qt::Key_N) << true;
        QTest::newRow("tooltip") << "IDS_TIP_SEARCH" << "Search" << QKeySequence(Qt::CTRL | Qt::Key_F) << true;
        QTest::newRow("no shortcut") << "IDS_MENU_MOVE2" << "Move to" << QKeySequence() << true;
        QTest::newRow("unknown key") << "IDS_NOT_A_KEY" << "IDS_NOT_A_KEY" << QKeySequence() << false;
    }
    void tabSplitsShortcut()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QKeySequence, shortcut);
        QFETCH(bool, found);
        QString gotText;
        QKeySequence gotShortcut(Qt::Key_A);  // must be overwritten, also when missing
        QCOMPARE(Change::tr(key, QStringLiteral("SMSUIPlugin"), gotText, gotShortcut), found);
        QCOMPARE(gotText, text);
        QCOMPARE(gotShortcut, shortcut);
        QCOMPARE(Change::tr(key, QStringLiteral("SMSUIPlugin")), text);  // never the tab part
    }

    // Button captions live in the host's context; the plug-in's context falls back to it.
    void hostContextFallback()
    {
        QCOMPARE(Change::tr(QStringLiteral("IDS_OK"), QString::fromLatin1(Change::HostContext)),
                 QStringLiteral("OK"));
        QCOMPARE(Change::tr(QStringLiteral("IDS_OK"), QStringLiteral("SMSUIPlugin")),
                 QStringLiteral("OK"));
        // Contexts stay apart otherwise.
        QVERIFY(!Change::HasTranslation(QStringLiteral("IDS_MENU_NEW"), QStringLiteral("Unknown")));
    }

    void languageSwitchSetsDirection()
    {
        QSignalSpy changed(Change::instance(), &Change::languageChanged);
        QVERIFY(Change::SetLanguage(QStringLiteral("ar")));
        QCOMPARE(Change::GetLangName(), QStringLiteral("ar"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
        QCOMPARE(Change::tr(QStringLiteral("IDS_BTN_CLOSE"), QStringLiteral("SMSUIPlugin")),
                 QStringLiteral("إغلاق"));

        QVERIFY(!Change::SetLanguage(QStringLiteral("xx")));  // no catalogue: nothing changes
        QCOMPARE(Change::GetLangName(), QStringLiteral("ar"));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);

        QVERIFY(Change::SetLanguage(QStringLiteral("en")));
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("ar"));
    }

private:
    TestDataHome m_home;
    QStringList m_keys;
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
