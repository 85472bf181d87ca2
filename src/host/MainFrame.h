// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's main window: menu bar, the main toolbar of pages, a stack of plug-in
// pages in the middle and a status bar with the device state and the unread count.
#include "HostInterfaces.h"

#include <QHash>
#include <QMainWindow>

class QLabel;
class QStackedWidget;

// A page that tells its plug-in when its size changes, so the plug-in can follow.
class PluginPage : public QWidget
{
    Q_OBJECT
public:
    explicit PluginPage(const QString &objectName, QWidget *parent = nullptr);
    // The page's area as the plug-in interfaces describe rectangles: (left, top, right, bottom).
    QRect pluginRect() const;
    // Replaces whatever the page shows with a centred explanation (used when the plug-in
    // is missing or failed).
    void showProblem(const QString &title, const QString &details);

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;
};

class MainFrame : public QMainWindow, public IMainFrameUIService
{
    Q_OBJECT
    Q_INTERFACES(IMainFrameUIService)
public:
    explicit MainFrame(QWidget *parent = nullptr);

    // IMainFrameUIService
    QWidget *GetMainWidget() override { return this; }
    QRect GetFrameGeometry() override;
    void BringToFront() override;

    // Adds a page under a plug-in name; the frame owns it.
    void addPage(const QString &pluginName, QWidget *page);
    QWidget *page(const QString &pluginName) const;
    bool showPage(const QString &pluginName);
    QString currentPage() const;

    void setUnreadCount(int count);
    void setDeviceSummary(const QString &text);
    void setSendingSummary(const QString &text);
    void showTransientMessage(const QString &text, int timeoutMs = 5000);
    // The window size of the last run (host setting "mainframe"/"size", "960x640"), kept
    // within the screen; the built-in size when there is none or it is damaged.
    void restoreSize();
    void saveSize() const;

    QMenu *menuByName(const QString &objectName) const;

signals:
    void pageShown(const QString &pluginName);
    // The user clicked the unread-messages notice in the status bar.
    void unreadNoticeClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStackedWidget *m_pages;
    QHash<QString, QWidget *> m_pageByName;
    QLabel *m_deviceLabel;
    QLabel *m_sendLabel;
    QLabel *m_unreadLabel;
};
