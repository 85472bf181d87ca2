// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds menus from a plug-in's menu description file, an XML file in the plug-in folder:
//
//   <menus>
//     <menu name="listview">
//       <action key="IDS_MENU_NEW"/>
//       <separator/>
//       <submenu key="IDS_MENU_MOVE2">
//         <action key="IDS_TREE_LOCAL"/>
//       </submenu>
//     </menu>
//   </menus>
//
// An action may carry enabled="false" and visible="false". Texts and shortcuts come from
// Change::tr(key, plug-in name, text, shortcut).
#include "CoreExport.h"

#include <QList>
#include <QString>

class QAction;
class QMenu;
class QWidget;

namespace MENU {

// One entry of a built menu: an action or a submenu (whose action is the submenu's
// menuAction()).
struct QActionInfo
{
    QAction *action = nullptr;  // owned by the menu it is in
    QString key;                // IDS_ key
    QString parentKey;          // key of the submenu holding it, empty at the top level
    QString parentTitle;        // that submenu's translated title when built
    QMenu *menu = nullptr;      // the submenu itself for a submenu entry, else null
    bool enabled = true;        // as the description says
};

class DIALCREST_CORE_EXPORT QBuildMenu
{
public:
    // pluginName: the plug-in's name (its folder and translation context). path: an
    // absolute description file, or a suffix: the file is then the first existing of
    // <plug-in folder>/<pluginName>Menu.xml and <plug-in folder>/<pluginName><path>.
    QBuildMenu(const QString &pluginName, const QString &path);

    // The file that will be read, empty when none exists.
    QString DescriptionFile() const;

    // Builds the menu called menuName as a QMenu owned by parent (object name
    // "<pluginName>_<menuName>") and fills *actions with one QActionInfo per action and
    // submenu in document order (the list is replaced, not extended). Null when the file
    // or the menu is missing or unreadable (actions is then emptied).
    QMenu *CreateMenuBar(const QString &menuName, QWidget *parent,
                         QList<QActionInfo> *actions);

    // Re-reads texts and shortcuts of every entry in the current language.
    static void Retranslate(const QString &pluginName, const QList<QActionInfo> &actions);

private:
    QString m_pluginName;
    QString m_path;
};

} // namespace MENU
