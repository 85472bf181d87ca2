// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a plug-in's toolbar from a list of ToolItem: one checkable-free tool button per
// item in a QButtonGroup (button id = item id), and below the buttons a hidden row with a
// label and a SearchLineEdit. Toolbars are found again by the plug-in name they were
// created with, so every function takes that name.
#include "CoreExport.h"

#include <QList>
#include <QString>

class QBoxLayout;
class QButtonGroup;
class QLabel;
class QWidget;
class SearchLineEdit;

// One toolbar button as the plug-in's configuration describes it.
struct ToolItem
{
    int id = 0;             // command id, also the button's id in the group
    QString tooltip;        // IDS_ key of the tooltip
    QString enabledIcon;    // image file; relative paths are in the plug-in folder
    QString disabledIcon;   // image file for the disabled state (may be empty)
    bool search = false;    // the button toggles the search row
};

class DIALCREST_CORE_EXPORT ToolBarLogic
{
public:
    // Creates the toolbar widget (child of parent, object name GetObjectName(name)) for
    // items, in their order, and registers it under name (replacing an earlier toolbar of
    // that name). Out-parameters may be null. The button group is owned by the toolbar
    // widget and freed by DestroyToolButtonGroup or with the widget; layout, search box
    // and label belong to the widget. Buttons are named GetButtonObjectName(name, id).
    // Returns the toolbar, owned by parent.
    static QWidget *CreateToolBar(const QString &name, QWidget *parent,
                                  const QList<ToolItem> &items,
                                  QButtonGroup **group = nullptr,
                                  QBoxLayout **layout = nullptr,
                                  SearchLineEdit **searchBox = nullptr,
                                  QLabel **label = nullptr);
    // Enables or disables the button of id. 0 done; 23 when items is empty; 1 when id is
    // not among items or the toolbar of name does not exist.
    static int EnableDisableItem(const QString &name, const QList<ToolItem> &items, int id,
                                 bool enable);
    static bool IsItemEnabled(const QString &name, int id);
    // Shows or hides the search row (label and box). 1 when the toolbar does not exist.
    static int ShowHideSearchBox(const QString &name, bool show);
    // Mirrors the button icons horizontally when the application's layout is
    // right-to-left, and restores them otherwise.
    static int ChangeToolBarIconDirection(const QString &name, const QList<ToolItem> &items);
    // Deletes the toolbar's button group (the buttons stay, inert) and forgets the toolbar.
    static void DestroyToolButtonGroup(const QString &name);
    static QString GetObjectName(const QString &name);               // name + "_ToolBar"
    static QString GetButtonObjectName(const QString &name, int id);  // name + "_ToolButton_" + id
    static QString GetSearchBoxObjectName(const QString &name);      // name + "_SearchBox"
};
