// SPDX-License-Identifier: GPL-3.0-or-later
// CommonUtils and the plug-in container: settings, paths, message boxes (through the
// responder and for real), links in message text, calls and threads.
#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"
#include "TestEnv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QtTest>

namespace {

class FakeCallPlugin : public QObject, public ICallUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(ICallUIPlugin)
public:
    int MakeCall(const QString &number, int callType) override
    {
        calls << QStringLiteral("%1/%2").arg(number).arg(callType);
        return result;
    }
    bool IsCallNotificationVisible() override { return false; }
    void RaiseCallNotification() override {}
    QStringList calls;
    int result = 1;
};

// Runs action on the next message box that opens (polling, since exec() blocks).
void onNextBox(std::function<void(QMessageBox *)> action)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action]() {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(box);
        }
    });
    timer->start(10);
}

int showThreeButtonBox(bool customize, QMessageBox **out = nullptr,
                       int closeAnswer = CommonUtils::ThirdButton)
{
    if (customize)
        return CommonUtils::ShowMessageCustomize(
            QMessageBox::Question, nullptr, QStringLiteral("Title"), QStringLiteral("Text"),
            QStringLiteral("IDS_YES"), QStringLiteral("IDS_CANCEL"), QStringLiteral("IDS_NO"), true,
            Qt::WindowCloseButtonHint, out, QString(), false, closeAnswer);
    return CommonUtils::ShowMessage(QMessageBox::Question, nullptr, QStringLiteral("Title"),
                                    QStringLiteral("Text"), QStringLiteral("IDS_YES"),
                                    QStringLiteral("IDS_CANCEL"), QStringLiteral("IDS_NO"), true,
                                    Qt::WindowCloseButtonHint, out, QString(), false);
}

} // namespace

class TestCommonUtils : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        CommonUtils::SetMessageResponder({});
        CommonUtils::SetUrlOpener({});
        Startup::DestroyPluginContainer();
    }

    void settingsRoundTripInDataFolder()
    {
        TestDataHome home;
        QCOMPARE(CommonUtils::DataFolder(), QDir::cleanPath(home.path()));
        QVERIFY(CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert")).isEmpty());
        QVERIFY(CommonUtils::SetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert"), QStringLiteral("true")));
        QVERIFY(CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"), QStringLiteral("false")));
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert")), QStringLiteral("true"));
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable")), QStringLiteral("false"));
        // Groups keep keys apart, and the values are on disk in the data folder.
        QVERIFY(CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("SoundAlert")).isEmpty());
        QVERIFY(QFileInfo(CommonUtils::SettingsFile()).absolutePath() == QDir::cleanPath(home.path()));
        QVERIFY(QFileInfo::exists(CommonUtils::SettingsFile()));
        {
            TestDataHome other;  // another data folder starts empty
            QVERIFY(CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert")).isEmpty());
        }
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("SMSSERVICE"), QStringLiteral("SoundAlert")), QStringLiteral("true"));
    }

    // Whatever stands at the settings file's name that is not a plain file is moved aside,
    // never written through: a link's target keeps its bytes and its mode.
    void settingsAreNeverWrittenThroughALink_data()
    {
        QTest::addColumn<QString>("standing");
        QTest::newRow("link to a file") << "file link";
        QTest::newRow("dangling link") << "dangling link";
        QTest::newRow("folder") << "folder";
    }
    void settingsAreNeverWrittenThroughALink()
    {
        QFETCH(QString, standing);
        TestDataHome home;
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(QStringLiteral("victim"));
        const QString ini = CommonUtils::SettingsFile();
        if (standing == QLatin1String("file link")) {
            QFile victim(target);
            QVERIFY(victim.open(QIODevice::WriteOnly));
            victim.write("[customize]\nlanguage=xx\n");
            victim.close();
            QVERIFY(victim.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
        }
        if (standing == QLatin1String("folder"))
            QVERIFY(QDir().mkpath(ini));
        else
            QVERIFY(QFile::link(target, ini));
        const QString before = CommonUtils::SettingsMovedAside();
        const QFile::Permissions modeBefore = QFileInfo(target).permissions();

        QVERIFY(CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"), QStringLiteral("true")));
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable")), QStringLiteral("true"));
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("customize"), QStringLiteral("language")), QString());
        const QFileInfo now(ini);
        QVERIFY(now.isFile() && !now.isSymLink());
        if (standing == QLatin1String("file link")) {
            QFile victim(target);
            QVERIFY(victim.open(QIODevice::ReadOnly));
            QCOMPARE(victim.readAll(), QByteArray("[customize]\nlanguage=xx\n"));
            QCOMPARE(victim.permissions(), modeBefore);
        } else {
            QCOMPARE(QFileInfo::exists(target), false);
        }
        // Kept, under its own name, and not reported as lost settings.
        const QStringList aside = QDir(home.path()).entryList({QStringLiteral("dialcrest.ini.broken-*")},
                                                              QDir::AllEntries | QDir::System);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(CommonUtils::SettingsMovedAside(), before);
    }

    // Unreadable bytes are kept aside, byte for byte, and reported; sound text stays.
    void damagedSettingsAreKeptAsideAndReported_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("damaged");
        QByteArray random(256 * 1024, '\0');
        QRandomGenerator generator(25);
        for (char &byte : random)
            byte = char(generator.bounded(256));
        QTest::newRow("random bytes") << random << true;
        QTest::newRow("not UTF-8") << QByteArray("[customize]\nsimtype=\xff\xfe\n") << true;
        QTest::newRow("Arabic text") << QByteArray("[customize]\nsimtype=\xd8\xb4\xd8\xb1\xd9\x8a\xd8\xad\xd8\xa9\n") << false;
    }
    void damagedSettingsAreKeptAsideAndReported()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, damaged);
        TestDataHome home;
        const QString ini = CommonUtils::SettingsFile();
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QString before = CommonUtils::SettingsMovedAside();
        const QString simtype = CommonUtils::GetSettings(QStringLiteral("customize"), QStringLiteral("simtype"));
        QVERIFY(CommonUtils::SetSettings(QStringLiteral("CBS"), QStringLiteral("enable"), QStringLiteral("true")));
        const QString aside = CommonUtils::SettingsMovedAside();
        if (!damaged) {
            QCOMPARE(simtype, QString::fromUtf8(content.mid(content.indexOf('=') + 1).trimmed()));
            QCOMPARE(aside, before);
            return;
        }
        QVERIFY(simtype.isEmpty());
        QVERIFY(aside != before);
        QCOMPARE(QFileInfo(aside).absolutePath(), QDir::cleanPath(home.path()));
        QFile kept(aside);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);
        QCOMPARE(CommonUtils::GetSettings(QStringLiteral("CBS"), QStringLiteral("enable")), QStringLiteral("true"));
    }

    void pluginLibraryPath()
    {
        // By default: the folder holding libcore, which is where the built plug-in lives.
        const QString root = CommonUtils::GetPluginLibraryPath();
        QVERIFY2(QFileInfo::exists(root + QStringLiteral("/libcore.so.1")), qPrintable(root));
        qputenv("DIALCREST_PLUGIN_ROOT", "/tmp/elsewhere/");
        QCOMPARE(CommonUtils::GetPluginLibraryPath(), QStringLiteral("/tmp/elsewhere"));
        QCOMPARE(CommonUtils::GetPluginFolder(QStringLiteral("SMSUIPlugin")),
                 QStringLiteral("/tmp/elsewhere/plugins/SMSUIPlugin/"));
        qunsetenv("DIALCREST_PLUGIN_ROOT");
    }

    void responderSeesRequestAndAnswers_data()
    {
        QTest::addColumn<bool>("customize");
        QTest::addColumn<int>("answer");
        QTest::newRow("first") << false << int(QMessageBox::Ok);
        QTest::newRow("second") << false << int(QMessageBox::Cancel);
        QTest::newRow("customized third") << true << int(QMessageBox::No);
    }
    void responderSeesRequestAndAnswers()
    {
        QFETCH(bool, customize);
        QFETCH(int, answer);
        QList<MessageRequest> requests;
        CommonUtils::SetMessageResponder([&](const MessageRequest &r) {
            requests << r;
            return answer;
        });
        QMessageBox *box = reinterpret_cast<QMessageBox *>(0x1);  // must be cleared
        QCOMPARE(showThreeButtonBox(customize, &box), answer);
        QCOMPARE(box, nullptr);
        QCOMPARE(requests.size(), 1);
        const MessageRequest &r = requests.first();
        QCOMPARE(r.icon, QMessageBox::Question);
        QCOMPARE(r.title, QStringLiteral("Title"));
        QCOMPARE(r.text, QStringLiteral("Text"));
        QCOMPARE(r.button1, QStringLiteral("IDS_YES"));  // keys, not captions
        QCOMPARE(r.button3, QStringLiteral("IDS_NO"));
        QCOMPARE(r.customize, customize);
        QCOMPARE(r.flags, Qt::WindowFlags(Qt::WindowCloseButtonHint));
    }

    // A real box: which button was pressed decides the result.
    void realBoxMapsButtons_data()
    {
        QTest::addColumn<bool>("customize");
        QTest::addColumn<int>("press");  // 1..3, 0: Escape, -1: the window closed
        QTest::addColumn<int>("closeAnswer");
        QTest::addColumn<int>("expected");
        const int third = CommonUtils::ThirdButton;
        for (bool customize : {false, true}) {
            const char *kind = customize ? "customized" : "plain";
            QTest::addRow("%s first", kind) << customize << 1 << third << int(QMessageBox::Ok);
            QTest::addRow("%s second", kind) << customize << 2 << third << int(QMessageBox::Cancel);
            QTest::addRow("%s third", kind) << customize << 3 << third << int(QMessageBox::No);
            QTest::addRow("%s escape", kind) << customize << 0 << third << int(QMessageBox::No);
            QTest::addRow("%s closed", kind) << customize << -1 << third << int(QMessageBox::No);
        }
        // A question whose third answer would lose work is closed as its second.
        for (int press : {0, -1})
            QTest::addRow("closing means the second, %s", press ? "closed" : "escape")
                << true << press << int(CommonUtils::SecondButton) << int(QMessageBox::Cancel);
        QTest::addRow("third still pressable") << true << 3 << int(CommonUtils::SecondButton)
                                               << int(QMessageBox::No);
    }
    void realBoxMapsButtons()
    {
        QFETCH(bool, customize);
        QFETCH(int, press);
        QFETCH(int, closeAnswer);
        QFETCH(int, expected);
        QMessageBox *seen = nullptr;
        QMessageBox *out = nullptr;
        QStringList captions;
        onNextBox([&](QMessageBox *box) {
            seen = box;
            QCOMPARE(out, box);  // the out-parameter points at the open box
            for (int i = 1; i <= 3; ++i) {
                auto *b = box->findChild<QAbstractButton *>(QStringLiteral("dialcrest_MessageBoxButton%1").arg(i));
                captions << (b ? b->text() : QString());
            }
            if (press == 0)
                QTest::keyClick(box, Qt::Key_Escape);
            else if (press < 0)
                box->close();
            else
                box->findChild<QAbstractButton *>(QStringLiteral("dialcrest_MessageBoxButton%1").arg(press))->click();
        });
        QCOMPARE(showThreeButtonBox(customize, &out, closeAnswer), expected);
        QVERIFY(seen);
        QCOMPARE(out, nullptr);
        QCOMPARE(captions, (QStringList{QStringLiteral("Yes"), QStringLiteral("Cancel"), QStringLiteral("No")}));
    }

    void customizedBoxKeepsButtonOrder()
    {
        QList<int> xs;
        onNextBox([&](QMessageBox *box) {
            for (int i = 1; i <= 3; ++i)
                xs << box->findChild<QAbstractButton *>(QStringLiteral("dialcrest_MessageBoxButton%1").arg(i))->x();
            box->reject();
        });
        showThreeButtonBox(true);
        QCOMPARE(xs.size(), 3);
        QVERIFY(xs[0] < xs[1] && xs[1] < xs[2]);
    }

    void hyperlinks_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("plain") << "Hello, see you at 5." << "Hello, see you at 5.";
        QTest::newRow("url") << "Go to http://ex.com/a?b=1&c=2." << "Go to <a href=\"http://ex.com/a?b=1&c=2\">http://ex.com/a?b=1&c=2</a>.";
        QTest::newRow("www") << "www.ex.org" << "<a href=\"http://www.ex.org\">www.ex.org</a>";
        QTest::newRow("email") << "mail bob.k@ex.co.uk now" << "mail <a href=\"mailto:bob.k@ex.co.uk\">bob.k@ex.co.uk</a> now";
        QTest::newRow("phone") << "call +49 170 1234567!" << "call <a href=\"tel:+491701234567\">+49 170 1234567</a>!";
        QTest::newRow("short number") << "code 1234" << "code 1234";
        QTest::newRow("date") << "on 2024-05-01 ok" << "on 2024-05-01 ok";
        QTest::newRow("escaped markup") << "&lt;b&gt;bold&lt;/b&gt; &amp; &lt;a href=x&gt;"
                                        << "&lt;b&gt;bold&lt;/b&gt; &amp; &lt;a href=x&gt;";
        QTest::newRow("numeric entity") << "&#1234567; &#x1F600;" << "&#1234567; &#x1F600;";
        QTest::newRow("url in brackets") << "&lt;http://ex.com&gt;" << "&lt;<a href=\"http://ex.com\">http://ex.com</a>&gt;";
        QTest::newRow("url then url") << "http://a.io&lt;www.b.io" << "<a href=\"http://a.io\">http://a.io</a>&lt;<a href=\"http://www.b.io\">www.b.io</a>";
        QTest::newRow("parenthesised") << "(see http://ex.com/x)" << "(see <a href=\"http://ex.com/x\">http://ex.com/x</a>)";
    }
    void hyperlinks()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(CommonUtils::ParseAndCreateHyperLinks(in), out);
    }

    void parenthesisCorrection_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        const QString lrm(QChar(0x200E)), rlm(QChar(0x200F));
        QTest::newRow("latin") << "Bob (work)" << lrm + "Bob (work)" + lrm;
        QTest::newRow("arabic") << "علي (عمل)" << rlm + "علي (عمل)" + rlm;
        QTest::newRow("no brackets") << "Bob" << "Bob";
        QTest::newRow("already marked") << lrm + "(1)" + lrm << lrm + "(1)" + lrm;
    }
    void parenthesisCorrection()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        CommonUtils::ParanthesisCorrection(in);
        QCOMPARE(in, out);
    }

    void containerAndCalls()
    {
        QCOMPARE(Startup::GetPluginContainer(), nullptr);
        QCOMPARE(CommonUtils::MakeCall(QStringLiteral("123"), 0), 0);  // no container
        PluginContainer *container = Startup::CreatePluginContainer();
        QCOMPARE(Startup::CreatePluginContainer(), container);
        QCOMPARE(CommonUtils::MakeCall(QStringLiteral("123"), 0), 0);  // no call plug-in

        auto call = std::make_unique<FakeCallPlugin>();
        QObject special;
        // Registered under another spelling of the CLSID: look-ups ignore case.
        container->RegisterPlugin(QString::fromLatin1(PluginIds::CallUi).toLower(),
                                  QStringLiteral("CallUI"), call.get());
        container->RegisterPlugin(QString::fromLatin1(PluginIds::CallUi), QString(), &special, 4200);
        QCOMPARE(container->GetPlugin(QString::fromLatin1(PluginIds::CallUi), 4097), call.get());
        QCOMPARE(container->GetPlugin(QString::fromLatin1(PluginIds::CallUi), 4200), &special);
        QCOMPARE(container->GetCLSIDByName(QStringLiteral("callui")).toUpper(),
                 QString::fromLatin1(PluginIds::CallUi).toUpper());
        QVERIFY(CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi)));

        QCOMPARE(CommonUtils::MakeCall(QStringLiteral("+4912345"), 0), 1);
        call->result = 0;
        QCOMPARE(CommonUtils::MakeCall(QStringLiteral("555"), 1), 0);
        QCOMPARE(call->calls, (QStringList{QStringLiteral("+4912345/0"), QStringLiteral("555/1")}));

        container->SetPluginAvailable(QString::fromLatin1(PluginIds::CallUi), false);
        QVERIFY(!CommonUtils::IsPluginAvailable(QString::fromLatin1(PluginIds::CallUi)));
        QCOMPARE(container->GetPlugin(QString::fromLatin1(PluginIds::CallUi), 4097), nullptr);
        container->SetPluginAvailable(QString::fromLatin1(PluginIds::CallUi), true);

        // A plug-in the host deleted is never handed out again.
        call.reset();
        QCOMPARE(container->GetPlugin(QString::fromLatin1(PluginIds::CallUi), 4097), nullptr);
        QCOMPARE(CommonUtils::MakeCall(QStringLiteral("1"), 0), 0);
    }

    void browserGoesThroughOpener()
    {
        QList<QUrl> opened;
        CommonUtils::SetUrlOpener([&](const QUrl &url) {
            opened << url;
            return true;
        });
        QVERIFY(CommonUtils::LaunchBrowser(QUrl(QStringLiteral("http://ex.com"))));
        QVERIFY(!CommonUtils::LaunchBrowser(QUrl()));
        QCOMPARE(opened, (QList<QUrl>{QUrl(QStringLiteral("http://ex.com"))}));
    }

    void waitForThreadToStop()
    {
        QVERIFY(CommonUtils::WaitForThreadToStop(nullptr, 5));
        QSemaphore release;
        std::unique_ptr<QThread> thread(QThread::create([&release]() {
            CommonUtils::ThreadCountInc(QStringLiteral(__FILE__), QStringLiteral("run"));
            release.acquire();
            CommonUtils::ThreadCountDec(QStringLiteral(__FILE__), QStringLiteral("run"));
        }));
        const int before = CommonUtils::ThreadCount();
        thread->start();
        QTRY_COMPARE(CommonUtils::ThreadCount(), before + 1);
        QVERIFY(!CommonUtils::WaitForThreadToStop(thread.get(), 20));  // still blocked
        release.release();
        QVERIFY(CommonUtils::WaitForThreadToStop(thread.get(), 5000));
        QCOMPARE(CommonUtils::ThreadCount(), before);
    }
};

QTEST_MAIN(TestCommonUtils)
#include "tst_commonutils.moc"
