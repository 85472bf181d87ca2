// SPDX-License-Identifier: GPL-3.0-or-later
#include "QBuildMenu.h"

#include "Change.h"
#include "CommonUtils.h"
#include "CoreLog.h"

#include <QAction>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace MENU {

namespace {

void applyText(const QString &pluginName, QAction *action, const QString &key, bool submenu)
{
    QString text;
    QKeySequence shortcut;
    Change::tr(key, pluginName, text, shortcut);
    action->setText(text);
    if (!submenu)
        action->setShortcut(shortcut);
}

bool isTrue(const QDomElement &element, const char *attribute)
{
    return element.attribute(QString::fromLatin1(attribute)).compare(QLatin1String("false"),
                                                                     Qt::CaseInsensitive)
        != 0;
}

// Adds the children of element to menu; recursion depth is the nesting of <submenu>.
void fill(const QString &pluginName, QMenu *menu, const QDomElement &element,
          const QString &parentKey, QList<QActionInfo> *actions)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("separator")) {
            menu->addSeparator();
            continue;
        }
        const QString key = child.attribute(QStringLiteral("key"));
        if (key.isEmpty() || (tag != QLatin1String("action") && tag != QLatin1String("submenu"))) {
            qCWarning(lcCoreUi) << "menu description: skipped element" << tag << "without key";
            continue;
        }
        QActionInfo info;
        info.key = key;
        info.parentKey = parentKey;
        info.parentTitle = parentKey.isEmpty() ? QString() : menu->title();
        info.enabled = isTrue(child, "enabled");
        if (tag == QLatin1String("submenu")) {
            QMenu *submenu = menu->addMenu(QString());
            submenu->setObjectName(menu->objectName() + QLatin1Char('_') + key);
            info.menu = submenu;
            info.action = submenu->menuAction();
            applyText(pluginName, info.action, key, true);
            submenu->setTitle(info.action->text());
        } else {
            info.action = menu->addAction(QString());
            applyText(pluginName, info.action, key, false);
        }
        info.action->setObjectName(key);
        info.action->setEnabled(info.enabled);
        info.action->setVisible(isTrue(child, "visible"));
        actions->append(info);
        if (info.menu)
            fill(pluginName, info.menu, child, key, actions);
    }
}

} // namespace

QBuildMenu::QBuildMenu(const QString &pluginName, const QString &path)
    : m_pluginName(pluginName)
    , m_path(path)
{
}

QString QBuildMenu::DescriptionFile() const
{
    if (QDir::isAbsolutePath(m_path))
        return QFileInfo::exists(m_path) ? m_path : QString();
    const QString folder = CommonUtils::GetPluginFolder(m_pluginName);
    const QString candidates[] = {folder + m_pluginName + QStringLiteral("Menu.xml"),
                                  folder + m_pluginName + m_path};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return QString();
}

QMenu *QBuildMenu::CreateMenuBar(const QString &menuName, QWidget *parent,
                                 QList<QActionInfo> *actions)
{
    QList<QActionInfo> scratch;
    QList<QActionInfo> *out = actions ? actions : &scratch;
    out->clear();
    const QString file = DescriptionFile();
    if (file.isEmpty()) {
        qCWarning(lcCoreUi) << "no menu description for" << m_pluginName << m_path;
        return nullptr;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        qCWarning(lcCoreUi) << "cannot open the menu description" << file << input.errorString();
        return nullptr;
    }
    QDomDocument document;
    QString error;
    int line = 0;
    if (!document.setContent(&input, &error, &line)) {
        qCWarning(lcCoreUi) << "menu description" << file << "line" << line << error;
        return nullptr;
    }
    QDomElement element = document.documentElement().firstChildElement(QStringLiteral("menu"));
    while (!element.isNull() && element.attribute(QStringLiteral("name")) != menuName)
        element = element.nextSiblingElement(QStringLiteral("menu"));
    if (element.isNull()) {
        qCWarning(lcCoreUi) << "menu" << menuName << "not described in" << file;
        return nullptr;
    }
    auto *menu = new QMenu(parent);
    menu->setObjectName(m_pluginName + QLatin1Char('_') + menuName);
    fill(m_pluginName, menu, element, QString(), out);
    return menu;
}

void QBuildMenu::Retranslate(const QString &pluginName, const QList<QActionInfo> &actions)
{
    for (const QActionInfo &info : actions) {
        if (!info.action)
            continue;
        applyText(pluginName, info.action, info.key, info.menu != nullptr);
        if (info.menu)
            info.menu->setTitle(info.action->text());
    }
}

} // namespace MENU
