// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's settings dialog: a list of pages on the left, the chosen page on the
// right. The host's own "General" page is always there; a plug-in that offers a settings
// page (ISettingUIPlugin) gets its page shown inside the dialog's page area, and is told
// about OK and Cancel.
#include <QDialog>
#include <QPointer>

class ISettingUIPlugin;
class QComboBox;
class QListWidget;
class QStackedWidget;

class SettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // pluginPage may be null (no plug-in settings page).
    SettingsDialog(ISettingUIPlugin *pluginPage, QWidget *parent = nullptr);
    ~SettingsDialog() override;

    QString chosenLanguage() const;
    // Shows page index (0 General, 1 the plug-in's page); false when the current page
    // refuses to be left (its entries are invalid).
    bool selectPage(int index);

public slots:
    void accept() override;
    void reject() override;

private:
    void showPluginPage();
    void releasePluginWidgets();

    ISettingUIPlugin *m_pluginPage;
    QListWidget *m_list;
    QStackedWidget *m_stack;
    QWidget *m_pluginArea;
    QComboBox *m_language;
    int m_current = 0;
    bool m_finished = false;
};
