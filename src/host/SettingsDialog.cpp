// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsDialog.h"

#include "Change.h"
#include "HostInterfaces.h"
#include "HostLog.h"
#include "HostText.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QStackedWidget>
#include <QVBoxLayout>

SettingsDialog::SettingsDialog(ISettingUIPlugin *pluginPage, QWidget *parent)
    : QDialog(parent)
    , m_pluginPage(pluginPage)
    , m_list(new QListWidget(this))
    , m_stack(new QStackedWidget(this))
    , m_pluginArea(new QWidget(this))
    , m_language(new QComboBox(this))
{
    setObjectName(QStringLiteral("dialcrest_SettingsDialog"));
    setWindowTitle(HostText::text("IDS_HOST_SETTINGS", "Settings"));
    m_list->setObjectName(QStringLiteral("dialcrest_SettingsPages"));
    m_list->setFixedWidth(160);
    m_list->setAccessibleName(HostText::text("IDS_ACC_SETTINGS_PAGES", "Settings pages"));
    m_pluginArea->setObjectName(QStringLiteral("dialcrest_SettingsPluginArea"));
    m_language->setObjectName(QStringLiteral("dialcrest_SettingsLanguage"));

    auto *general = new QWidget(this);
    general->setObjectName(QStringLiteral("dialcrest_SettingsGeneral"));
    auto *form = new QFormLayout(general);
    const QStringList languages = Change::AvailableLanguages();
    m_language->addItem(QStringLiteral("English"), QStringLiteral("en"));
    m_language->addItem(QStringLiteral("العربية"), QStringLiteral("ar"));
    for (const QString &code : languages) {
        if (m_language->findData(code) < 0)
            m_language->addItem(code, code);
    }
    m_language->setCurrentIndex(qMax(0, m_language->findData(Change::GetLangName())));
    form->addRow(HostText::text("IDS_HOST_LANGUAGE", "Language"), m_language);

    m_list->addItem(HostText::text("IDS_HOST_GENERAL", "General"));
    m_stack->addWidget(general);
    if (m_pluginPage) {
        m_list->addItem(m_pluginPage->GetModuleName());
        m_stack->addWidget(m_pluginArea);
    }
    m_list->setCurrentRow(0);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!selectPage(row)) {
            const QSignalBlocker block(m_list);
            m_list->setCurrentRow(m_current);
        }
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("dialcrest_SettingsButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(m_list);
    row->addWidget(m_stack, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    resize(720, 520);
}

SettingsDialog::~SettingsDialog()
{
    // Closed without OK or Cancel (the application quit): the page must not keep edits.
    if (!m_finished && m_pluginPage && m_pluginPage->IsActiveSetting())
        m_pluginPage->OnClickSettingCancelButton();
    releasePluginWidgets();
}

QString SettingsDialog::chosenLanguage() const
{
    return m_language->currentData().toString();
}

bool SettingsDialog::selectPage(int index)
{
    if (index == m_current || index < 0 || index >= m_stack->count())
        return index == m_current;
    if (m_current == 1 && m_pluginPage && !m_pluginPage->HideSetting())
        return false;
    m_current = index;
    m_stack->setCurrentIndex(index);
    if (index == 1)
        showPluginPage();
    if (m_list->currentRow() != index) {
        const QSignalBlocker block(m_list);
        m_list->setCurrentRow(index);
    }
    return true;
}

void SettingsDialog::showPluginPage()
{
    if (!m_pluginPage)
        return;
    m_stack->setCurrentWidget(m_pluginArea);
    QRect rect(QPoint(0, 0), m_stack->size());
    m_pluginPage->ShowSettingDialog(m_pluginArea, rect);
}

void SettingsDialog::releasePluginWidgets()
{
    // The plug-in owns its page; take it back out of the dialog so that deleting the dialog
    // never deletes the page under the plug-in's feet.
    const QList<QWidget *> children = m_pluginArea->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        child->hide();
        child->setParent(nullptr);
    }
}

void SettingsDialog::accept()
{
    // A page the user never opened has nothing to save.
    if (m_pluginPage && m_pluginPage->IsActiveSetting() && !m_pluginPage->OnClickSettingOkButton()) {
        qCDebug(lcHost) << "settings page refused OK";
        selectPage(1);
        return;
    }
    m_finished = true;
    releasePluginWidgets();
    QDialog::accept();
}

void SettingsDialog::reject()
{
    if (m_pluginPage && m_pluginPage->IsActiveSetting())
        m_pluginPage->OnClickSettingCancelButton();
    m_finished = true;
    releasePluginWidgets();
    QDialog::reject();
}
