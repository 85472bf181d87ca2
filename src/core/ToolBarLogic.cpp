// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolBarLogic.h"

#include "Change.h"
#include "CommonUtils.h"
#include "CoreLog.h"
#include "SearchLineEdit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QToolButton>
#include <QTransform>
#include <QVBoxLayout>

#include <algorithm>

namespace {

struct ToolBar
{
    QPointer<QWidget> widget;
    QPointer<QButtonGroup> group;
    QPointer<SearchLineEdit> search;
    QPointer<QLabel> label;
};

// GUI thread only, like the widgets it points at.
QHash<QString, ToolBar> &toolBars()
{
    static QHash<QString, ToolBar> bars;
    return bars;
}

ToolBar *findToolBar(const QString &name)
{
    auto it = toolBars().find(name);
    if (it == toolBars().end() || !it->widget)
        return nullptr;
    return &it.value();
}

QString iconPath(const QString &pluginName, const QString &file)
{
    if (file.isEmpty() || QDir::isAbsolutePath(file))
        return file;
    return CommonUtils::GetPluginFolder(pluginName) + file;
}

QPixmap loadPixmap(const QString &path, bool mirrored)
{
    QPixmap pixmap;
    if (path.isEmpty())
        return pixmap;
    if (!pixmap.load(path)) {
        qCWarning(lcCoreUi) << "toolbar icon missing:" << path;
        return pixmap;
    }
    if (mirrored)
        pixmap = pixmap.transformed(QTransform().scale(-1, 1));
    return pixmap;
}

QIcon makeIcon(const QString &pluginName, const ToolItem &item, bool mirrored)
{
    QIcon icon;
    const QPixmap normal = loadPixmap(iconPath(pluginName, item.enabledIcon), mirrored);
    if (!normal.isNull())
        icon.addPixmap(normal, QIcon::Normal);
    const QPixmap disabled = loadPixmap(iconPath(pluginName, item.disabledIcon), mirrored);
    if (!disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

bool containsId(const QList<ToolItem> &items, int id)
{
    return std::any_of(items.cbegin(), items.cend(),
                       [id](const ToolItem &item) { return item.id == id; });
}

} // namespace

QWidget *ToolBarLogic::CreateToolBar(const QString &name, QWidget *parent,
                                     const QList<ToolItem> &items, QButtonGroup **group,
                                     QBoxLayout **layout, SearchLineEdit **searchBox,
                                     QLabel **label)
{
    DestroyToolButtonGroup(name);
    auto *bar = new QWidget(parent);
    bar->setObjectName(GetObjectName(name));
    auto *column = new QVBoxLayout(bar);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(2);
    auto *buttons = new QButtonGroup(bar);
    buttons->setObjectName(name + QStringLiteral("_ButtonGroup"));
    buttons->setExclusive(false);
    const bool mirrored = QGuiApplication::layoutDirection() == Qt::RightToLeft;
    for (const ToolItem &item : items) {
        auto *button = new QToolButton(bar);
        button->setObjectName(GetButtonObjectName(name, item.id));
        button->setAutoRaise(true);
        button->setIconSize(QSize(24, 24));
        button->setIcon(makeIcon(name, item, mirrored));
        button->setToolTip(Change::tr(item.tooltip, name));
        // An icon-only button is nameless to a screen reader unless it is given one.
        button->setAccessibleName(button->toolTip());
        button->setCheckable(item.search);
        buttons->addButton(button, item.id);
        buttonRow->addWidget(button);
    }
    buttonRow->addStretch(1);
    column->addLayout(buttonRow);

    auto *searchRow = new QHBoxLayout;
    auto *searchLabel = new QLabel(Change::tr(QStringLiteral("IDS_STR_SEARCH"),
                                              QString::fromLatin1(Change::HostContext)),
                                   bar);
    searchLabel->setObjectName(name + QStringLiteral("_SearchLabel"));
    auto *search = new SearchLineEdit(bar);
    search->setObjectName(GetSearchBoxObjectName(name));
    searchLabel->setBuddy(search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(search, 1);
    column->addLayout(searchRow);
    searchLabel->hide();
    search->hide();

    toolBars().insert(name, ToolBar{bar, buttons, search, searchLabel});
    if (group)
        *group = buttons;
    if (layout)
        *layout = column;
    if (searchBox)
        *searchBox = search;
    if (label)
        *label = searchLabel;
    return bar;
}

int ToolBarLogic::EnableDisableItem(const QString &name, const QList<ToolItem> &items, int id,
                                    bool enable)
{
    if (items.isEmpty())
        return 23;
    ToolBar *bar = findToolBar(name);
    if (!bar || !bar->group || !containsId(items, id))
        return 1;
    QAbstractButton *button = bar->group->button(id);
    if (!button)
        return 1;
    button->setEnabled(enable);
    return 0;
}

bool ToolBarLogic::IsItemEnabled(const QString &name, int id)
{
    ToolBar *bar = findToolBar(name);
    QAbstractButton *button = bar && bar->group ? bar->group->button(id) : nullptr;
    return button && button->isEnabled();
}

int ToolBarLogic::ShowHideSearchBox(const QString &name, bool show)
{
    ToolBar *bar = findToolBar(name);
    if (!bar || !bar->search)
        return 1;
    bar->search->setVisible(show);
    if (bar->label)
        bar->label->setVisible(show);
    if (show)
        bar->search->setFocus(Qt::OtherFocusReason);
    return 0;
}

int ToolBarLogic::ChangeToolBarIconDirection(const QString &name, const QList<ToolItem> &items)
{
    ToolBar *bar = findToolBar(name);
    if (!bar || !bar->group)
        return 1;
    const bool mirrored = QGuiApplication::layoutDirection() == Qt::RightToLeft;
    for (const ToolItem &item : items) {
        if (QAbstractButton *button = bar->group->button(item.id))
            button->setIcon(makeIcon(name, item, mirrored));
    }
    return 0;
}

void ToolBarLogic::DestroyToolButtonGroup(const QString &name)
{
    auto it = toolBars().find(name);
    if (it == toolBars().end())
        return;
    delete it->group.data();
    toolBars().erase(it);
}

QString ToolBarLogic::GetObjectName(const QString &name)
{
    return name + QStringLiteral("_ToolBar");
}

QString ToolBarLogic::GetButtonObjectName(const QString &name, int id)
{
    return name + QStringLiteral("_ToolButton_") + QString::number(id);
}

QString ToolBarLogic::GetSearchBoxObjectName(const QString &name)
{
    return name + QStringLiteral("_SearchBox");
}
