// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog hosting a plug-in's settings page.
#include "HostInterfaces.h"
#include "SettingsDialog.h"
#include "TestEnv.h"

#include <QListWidget>
#include <QPointer>
#include <QTest>

namespace {

// Behaves like a plug-in's settings service: its page widget is its own, shown inside the
// area the dialog hands over, and it can refuse OK or leaving while its entries are bad.
class PageStandIn : public QObject, public ISettingUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(ISettingUIPlugin)
public:
    ~PageStandIn() override { delete page; }
    bool OnClickSettingOkButton() override
    {
        ++oks;
        if (!valid)
            return false;
        active = false;
        detach();
        return true;
    }
    bool OnClickSettingCancelButton() override
    {
        ++cancels;
        active = false;
        detach();
        return true;
    }
    int ShowSettingDialog(QWidget *parent, QRect &rect) override
    {
        if (!page)
            page = new QWidget;
        page->setParent(parent);
        page->setGeometry(rect);
        page->show();
        active = true;
        return 1;
    }
    QString GetModuleName() override { return QStringLiteral("Messages"); }
    bool HideSetting() override { return valid; }
    bool IsActiveSetting() override { return active; }

    void detach()
    {
        if (page && detachOnClose)
            page->setParent(nullptr);
    }

    QPointer<QWidget> page;
    bool valid = true;
    bool active = false;
    bool detachOnClose = true;
    int oks = 0, cancels = 0;
};

} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void pluginPageIsListedAndShownInside();
    void invalidEntriesKeepTheDialogOpen();
    void cancelAndDestructionNeverDeleteThePage();
    void untouchedPageIsNotSaved();

private:
    TestDataHome m_home;
};

void SettingsDialogTest::pluginPageIsListedAndShownInside()
{
    PageStandIn plugin;
    SettingsDialog dialog(&plugin);
    auto *pages = dialog.findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"));
    QVERIFY(pages);
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->item(1)->text(), QStringLiteral("Messages"));
    pages->setCurrentRow(1);
    QVERIFY(plugin.active);
    QCOMPARE(plugin.page->parentWidget()->objectName(), QStringLiteral("dialcrest_SettingsPluginArea"));

    SettingsDialog withoutPlugin(nullptr);
    QCOMPARE(withoutPlugin.findChild<QListWidget *>(QStringLiteral("dialcrest_SettingsPages"))->count(), 1);
}

void SettingsDialogTest::invalidEntriesKeepTheDialogOpen()
{
    PageStandIn plugin;
    SettingsDialog dialog(&plugin);
    dialog.show();
    QVERIFY(dialog.selectPage(1));
    plugin.valid = false;
    QVERIFY(!dialog.selectPage(0));  // leaving is refused
    dialog.accept();
    QCOMPARE(plugin.oks, 1);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    plugin.valid = true;
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void SettingsDialogTest::cancelAndDestructionNeverDeleteThePage()
{
    PageStandIn plugin;
    {
        SettingsDialog dialog(&plugin);
        dialog.selectPage(1);
        dialog.reject();
        QCOMPARE(plugin.cancels, 1);
    }
    QVERIFY(plugin.page);
    {
        // The application quits with the dialog open: edits are dropped, the page survives.
        SettingsDialog dialog(&plugin);
        dialog.selectPage(1);
        plugin.detachOnClose = false;  // a page that forgets to take itself back
    }
    QCOMPARE(plugin.cancels, 2);
    QVERIFY(plugin.page);
    QVERIFY(!plugin.page->parentWidget());
}

void SettingsDialogTest::untouchedPageIsNotSaved()
{
    PageStandIn plugin;
    SettingsDialog dialog(&plugin);
    dialog.accept();
    QCOMPARE(plugin.oks, 0);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(SettingsDialogTest)
#include "tst_hostsettings.moc"
