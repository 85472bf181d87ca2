// SPDX-License-Identifier: GPL-3.0-or-later
// Toolbar, menu builder, dialog base and sound player.
#include "Change.h"
#include "DcSound.h"
#include "ExtendDialog.h"
#include "QBuildMenu.h"
#include "SearchLineEdit.h"
#include "TestEnv.h"
#include "ToolBarLogic.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDataStream>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTimeZone>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

namespace {

const QString kPlugin = QStringLiteral("SMSUIPlugin");

QList<ToolItem> sixItems()
{
    QList<ToolItem> items;
    const char *tips[] = {"IDS_TIP_NEW", "IDS_TIP_DELETE", "IDS_TIP_SEND",
                          "IDS_TIP_REPLY", "IDS_TIP_FORWARD", "IDS_TIP_SEARCH"};
    for (int i = 0; i < 6; ++i) {
        ToolItem item;
        item.id = i < 5 ? 9000 + i : 9100;
        item.tooltip = QString::fromLatin1(tips[i]);
        item.search = i == 5;
        items << item;
    }
    return items;
}

// A mono 8 kHz 16-bit PCM file of the given length.
void writeWav(const QString &path, int milliseconds)
{
    const quint32 rate = 8000;
    const quint32 dataSize = rate * 2 * quint32(milliseconds) / 1000;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    file.write(QByteArray(int(dataSize), '\0'));
}

QList<MENU::QActionInfo> entriesUnder(const QList<MENU::QActionInfo> &all, const QString &parent)
{
    QList<MENU::QActionInfo> out;
    for (const MENU::QActionInfo &info : all) {
        if (info.parentKey == parent)
            out << info;
    }
    return out;
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT
private slots:
    // Every suite sees the same fonts, locale and time zone, whatever else the machine has
    // installed (a desktop brings more fonts, whose metrics change what pixels tests see).
    void testsSeeOnlyTheRunCommandsFonts()
    {
        // Qt adds the generic names (Monospace, Sans Serif, Serif) of its own.
        const QStringList expected = {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono"),
                                      QStringLiteral("DejaVu Serif"), QStringLiteral("Monospace"),
                                      QStringLiteral("Noto Color Emoji"), QStringLiteral("Sans Serif"),
                                      QStringLiteral("Serif"), QStringLiteral("WenQuanYi Micro Hei"),
                                      QStringLiteral("WenQuanYi Micro Hei Mono")};
        QStringList families;
        for (const QString &family : QFontDatabase::families()) {
            // The Chinese font also lists its names in Chinese.
            if (std::all_of(family.begin(), family.end(), [](QChar c) { return c.unicode() < 128; }))
                families << family;
        }
        families.sort();
        QCOMPARE(families, expected);
        QCOMPARE(QFontInfo(QFont()).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QLocale::system().name(), QStringLiteral("C"));
        QCOMPARE(QTimeZone::systemTimeZoneId(), QByteArray("UTC"));
    }
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        // Run against the plug-in folder of the source tree, as the built tree holds a copy.
        qputenv("DIALCREST_PLUGIN_ROOT", DIALCREST_SOURCE_DIR);
    }

    void toolbarEnablesById()
    {
        QWidget window;
        const QList<ToolItem> items = sixItems();
        QButtonGroup *group = nullptr;
        SearchLineEdit *search = nullptr;
        QLabel *label = nullptr;
        QWidget *bar = ToolBarLogic::CreateToolBar(kPlugin, &window, items, &group, nullptr,
                                                   &search, &label);
        QVERIFY(bar && group && search && label);
        QCOMPARE(bar->objectName(), ToolBarLogic::GetObjectName(kPlugin));
        QCOMPARE(group->buttons().size(), 6);
        auto *send = bar->findChild<QAbstractButton *>(ToolBarLogic::GetButtonObjectName(kPlugin, 9002));
        QVERIFY(send);
        QCOMPARE(send->toolTip(), QStringLiteral("Send"));  // translated, shortcut part dropped

        QCOMPARE(ToolBarLogic::EnableDisableItem(kPlugin, items, 9002, false), 0);
        QVERIFY(!send->isEnabled());
        QVERIFY(!ToolBarLogic::IsItemEnabled(kPlugin, 9002));
        QVERIFY(ToolBarLogic::IsItemEnabled(kPlugin, 9003));  // neighbours untouched
        QCOMPARE(ToolBarLogic::EnableDisableItem(kPlugin, items, 9002, true), 0);
        QVERIFY(send->isEnabled());
        QCOMPARE(ToolBarLogic::EnableDisableItem(kPlugin, items, 9005, false), 1);  // not an item
        QCOMPARE(ToolBarLogic::EnableDisableItem(kPlugin, {}, 9002, false), 23);
        QCOMPARE(ToolBarLogic::EnableDisableItem(QStringLiteral("Other"), items, 9002, false), 1);

        QSignalSpy clicked(group, &QButtonGroup::idClicked);
        send->click();
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.first().first().toInt(), 9002);

        window.show();
        QVERIFY(search->isHidden());
        QCOMPARE(ToolBarLogic::ShowHideSearchBox(kPlugin, true), 0);
        QVERIFY(search->isVisible() && label->isVisible());
        QCOMPARE(ToolBarLogic::ShowHideSearchBox(kPlugin, false), 0);
        QVERIFY(search->isHidden());

        ToolBarLogic::DestroyToolButtonGroup(kPlugin);
        QCOMPARE(ToolBarLogic::EnableDisableItem(kPlugin, items, 9002, false), 1);
        QCOMPARE(ToolBarLogic::ShowHideSearchBox(kPlugin, true), 1);
    }

    void searchBoxEscapeClears()
    {
        SearchLineEdit box;
        QSignalSpy edited(&box, &QLineEdit::textEdited);
        QSignalSpy cancelled(&box, &SearchLineEdit::cancelled);
        QTest::keyClicks(&box, QStringLiteral("ab"));
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(box.text().isEmpty());
        QCOMPARE(edited.last().first().toString(), QString());
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(box.LastKey(), int(Qt::Key_B));  // Escape was consumed by the box
    }

    void contextMenuFromDescription()
    {
        MENU::QBuildMenu builder(kPlugin, QStringLiteral("Config.xml"));
        QVERIFY(builder.DescriptionFile().endsWith(QStringLiteral("SMSUIPluginMenu.xml")));
        QWidget window;
        QList<MENU::QActionInfo> list;
        list << MENU::QActionInfo{};  // replaced, not extended
        QMenu *menu = builder.CreateMenuBar(QStringLiteral("listview"), &window, &list);
        QVERIFY(menu);
        QCOMPARE(menu->parent(), &window);

        const QStringList submenus = {QStringLiteral("IDS_MENU_MOVE2"), QStringLiteral("IDS_MENU_COPY2"),
                                      QStringLiteral("IDS_MENU_MOVEAll2"), QStringLiteral("IDS_MENU_COPYAll2")};
        const QStringList targets = {QStringLiteral("IDS_TREE_LOCAL"), QStringLiteral("IDS_TREE_SIM"),
                                     QStringLiteral("IDS_TREE_DEVICE")};
        QStringList topKeys;
        for (const MENU::QActionInfo &info : entriesUnder(list, QString())) {
            QVERIFY(info.action);
            topKeys << info.key;
        }
        for (const char *key : {"IDS_MENU_NEW", "IDS_MENU_EDIT", "IDS_MENU_SEND", "IDS_MENU_REPLY",
                                   "IDS_MENU_FORWARD", "IDS_MENU_CALL", "IDS_MENU_VIDEO_CALL",
                                   "IDS_MENU_SAVENUMBER", "IDS_MENU_DELETE", "IDS_MENU_CLEARALL",
                                   "IDS_MENU_RECOVER", "IDS_MENU_SEARCH", "IDS_EXPORT_SMSSELECT",
                                   "IDS_EXPORT_SMSALL"})
            QVERIFY2(topKeys.contains(QString::fromLatin1(key)), key);
        for (const QString &submenu : submenus) {
            QVERIFY(topKeys.contains(submenu));
            const QList<MENU::QActionInfo> children = entriesUnder(list, submenu);
            QStringList keys;
            for (const MENU::QActionInfo &child : children) {
                keys << child.key;
                QCOMPARE(child.parentTitle, Change::tr(submenu, kPlugin));
                QVERIFY(child.action->associatedObjects().size() >= 1);
            }
            QCOMPARE(keys, targets);
        }
        const auto find = [&](const QString &key) {
            for (const MENU::QActionInfo &info : list) {
                if (info.key == key)
                    return info;
            }
            return MENU::QActionInfo{};
        };
        QCOMPARE(find(QStringLiteral("IDS_MENU_DELETE")).action->shortcut(), QKeySequence(Qt::Key_Delete));
        QCOMPARE(find(QStringLiteral("IDS_MENU_DELETE")).action->text(), QStringLiteral("Delete"));
        QVERIFY(find(QStringLiteral("IDS_MENU_MOVE2")).menu);
        QCOMPARE(find(QStringLiteral("IDS_MENU_MOVE2")).menu->actions().size(), 3);

        // A second build gives a fresh list of the same length.
        const int count = list.size();
        QVERIFY(builder.CreateMenuBar(QStringLiteral("listview"), &window, &list));
        QCOMPARE(list.size(), count);
    }

    void menuDescriptionFailures_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("menu");
        QTest::newRow("malformed") << QByteArray("<menus><menu name=\"listview\">") << "listview";
        QTest::newRow("unknown menu") << QByteArray("<menus><menu name=\"tree\"/></menus>") << "listview";
        QTest::newRow("missing file") << QByteArray() << "listview";
    }
    void menuDescriptionFailures()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, menu);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("menu.xml"));
        if (!contents.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        MENU::QBuildMenu builder(kPlugin, path);
        QList<MENU::QActionInfo> list{MENU::QActionInfo{}};
        QWidget parent;
        QCOMPARE(builder.CreateMenuBar(menu, &parent, &list), nullptr);
        QVERIFY(list.isEmpty());
    }

    void extendDialogMainWidget()
    {
        ExtendDialog dialog(nullptr, Qt::WindowCloseButtonHint, ExtendDialog::CustomTitle);
        QVERIFY(dialog.IsCusTitle());
        QVERIFY(!ExtendDialog(nullptr, {}, ExtendDialog::FramedTitle).IsCusTitle());
        QPointer<QWidget> first = new QWidget;
        dialog.AddMainWidget(first);
        QCOMPARE(dialog.MainWidget(), first.data());
        dialog.AddMainWidget(new QWidget);  // replaces and frees the earlier one
        QVERIFY(first.isNull());
        dialog.setWindowTitle(QStringLiteral("Old"));
        // Through a QWidget pointer too: the strip must not keep the old title.
        static_cast<QWidget &>(dialog).setWindowTitle(QStringLiteral("New message"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("New message"));
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("dialcrest_ExtendDialogTitle"))->text(),
                 QStringLiteral("New message"));
        dialog.changeSize(QSize(300, 200));
        dialog.show();
        QTRY_COMPARE(dialog.MainWidget()->size(), QSize(300, 200));
    }

    void soundRejectsUnplayableFiles_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a wav") << QByteArray("MThd\0\0\0\6", 8);
        QTest::newRow("truncated header") << QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16);
    }
    void soundRejectsUnplayableFiles()
    {
        QFETCH(QByteArray, contents);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sound.wav"));
        if (!contents.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(contents);
        }
        DcSound sound(path);
        QSignalSpy finished(&sound, &DcSound::finished);
        QVERIFY(!sound.Play());
        QVERIFY(!sound.IsPlaying());
        QCOMPARE(finished.count(), 0);
    }

    // Plays to the end with or without an audio device; Stop() ends without finished().
    void soundPlaysAndFinishes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("beep.WAV"));
        writeWav(path, 300);
        QCOMPARE(DcSound::WavDurationMs(path), 300);
        DcSound sound(path);
        QSignalSpy finished(&sound, &DcSound::finished);
        QVERIFY(sound.Play());
        QVERIFY(sound.IsPlaying());
        QVERIFY(finished.wait(10000));
        QVERIFY(!sound.IsPlaying());

        QVERIFY(sound.Play());
        sound.Stop();
        QVERIFY(!sound.IsPlaying());
        QVERIFY(!finished.wait(2500));
        QCOMPARE(finished.count(), 1);
    }

private:
    TestDataHome m_home;
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
