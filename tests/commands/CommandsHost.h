// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host side the window's commands talk to: a plug-in container with a call plug-in
// and an address book that record what they are handed, a message-box responder that
// records every prompt, and helpers that click, right-click and read the context menu.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>

#include "CommonUtils.h"
#include "HostInterfaces.h"
#include "PluginIds.h"
#include "Startup.h"
#include "WindowFixture.h"
#include "window/SMSUITableWidget.h"

class RecordingCall : public QObject, public ICallUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(ICallUIPlugin)
public:
    int MakeCall(const QString &number, int callType) override
    {
        calls << number;
        types << callType;
        return answer;
    }
    bool IsCallNotificationVisible() override { return false; }
    void RaiseCallNotification() override {}

    QStringList calls;
    QList<int> types;
    int answer = 1;
};

class RecordingAddressBook : public QObject, public IAddrBookUIPlugin
{
    Q_OBJECT
    Q_INTERFACES(IAddrBookUIPlugin)
public:
    int SaveNumber(const QString &number, QWidget *) override
    {
        saved << number;
        return 1;
    }
    QString GetNameByNumber(const QString &) override { return QString(); }
    int PickNumbers(int, int, QStringList &) override { return 0; }

    QStringList saved;
};

class CommandsHost
{
public:
    // callVoice: the host setting that switches voice calls on.
    void setUp(bool withCall = true, bool withAddressBook = true, bool callVoice = true)
    {
        // The context menu's description, beside the configuration the fixture wrote.
        const QString folder = CommonUtils::GetPluginFolder(QStringLiteral("SMSUIPlugin"));
        QFile::copy(QStringLiteral(DIALCREST_SOURCE_DIR "/plugins/SMSUIPlugin/SMSUIPluginMenu.xml"),
                    folder + QStringLiteral("SMSUIPluginMenu.xml"));
        PluginContainer *container = Startup::CreatePluginContainer();
        if (withCall) {
            for (int id : {InterfaceId::Default, InterfaceId::CallUi})
                container->RegisterPlugin(QString::fromLatin1(PluginIds::CallUi),
                                          QStringLiteral("CallUIPlugin"), &call, id);
        }
        if (withAddressBook) {
            for (int id : {InterfaceId::Default, InterfaceId::AddrBook})
                container->RegisterPlugin(QString::fromLatin1(PluginIds::AddrBook),
                                          QStringLiteral("AddrBookUIPlugin"), &book, id);
        }
        CommonUtils::SetSettings(QStringLiteral("callui"), QStringLiteral("callvoice"),
                                 callVoice ? QStringLiteral("1") : QStringLiteral("0"));
        prompts.clear();
        CommonUtils::SetMessageResponder([this](const MessageRequest &request) {
            prompts << request;
            return CommonUtils::FirstButton;
        });
    }
    void tearDown()
    {
        CommonUtils::SetMessageResponder({});
        Startup::DestroyPluginContainer();
        call.calls.clear();
        call.answer = 1;
        call.types.clear();
        book.saved.clear();
    }
    // The texts of the prompts shown, in order.
    QStringList promptTexts() const
    {
        QStringList texts;
        for (const MessageRequest &r : prompts)
            texts << r.text;
        return texts;
    }

    RecordingCall call;
    RecordingAddressBook book;
    QList<MessageRequest> prompts;
};

namespace CommandsUi {

inline QString ids(const char *key)
{
    return SMSUIMainDlg::tr(QString::fromLatin1(key));
}

inline QPoint rowPoint(SMSUITableWidget *table, int row)
{
    return table->visualItemRect(table->item(row, 1)).center();
}

inline void clickRow(SMSUITableWidget *table, int row, Qt::KeyboardModifiers mods = {})
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, mods, rowPoint(table, row));
}

// A right click as the platform delivers it: the press (which selects), then the menu
// request at the same point, sent to the viewport and passed up to the window.
inline void rightClickAt(QWidget *viewport, const QPoint &point)
{
    QTest::mousePress(viewport, Qt::RightButton, {}, point);
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, viewport->mapToGlobal(point));
    QApplication::sendEvent(viewport, &event);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, point);
}

// "IDS_MENU_REPLY" -> "REPLY", "IDS_EXPORT_SMSALL" -> "SMSALL", "IDS_TREE_SIM" -> "SIM".
inline QString shortKey(const QString &key)
{
    return key.mid(key.indexOf(QLatin1Char('_'), 4) + 1);
}

// The entries of the open menu a user could pick, sorted: "REPLY", "MOVE2>DEVICE", ...
inline QStringList enabledEntries(const QMenu *menu)
{
    QStringList entries;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible() || !action->isEnabled())
            continue;
        if (QMenu *submenu = QMenu::menuInAction(action)) {
            for (QAction *target : submenu->actions()) {
                if (target->isVisible() && target->isEnabled())
                    entries << shortKey(action->objectName()) + QLatin1Char('>')
                            + shortKey(target->objectName());
            }
        } else {
            entries << shortKey(action->objectName());
        }
    }
    entries.sort();
    return entries;
}

// Every target under the four submenus, for a target storage ("DEVICE").
inline QStringList allTargets(const char *storage)
{
    QStringList entries;
    for (const char *submenu : {"COPY2", "COPYAll2", "MOVE2", "MOVEAll2"})
        entries << QString::fromLatin1(submenu) + QLatin1Char('>') + QLatin1String(storage);
    return entries;
}

inline bool present(const QMenu *menu, const char *key)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == QLatin1String(key))
            return action->isVisible();
    }
    return false;
}

} // namespace CommandsUi
