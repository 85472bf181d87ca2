// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host's dialog base: a dialog with an optional title strip of its own and one main
// widget below it. Widget type NativeTitle keeps the window manager's title bar;
// CustomTitle draws a frameless dialog with its own title strip (drag to move, close
// button), so the dialogs of every plug-in look alike.
#include "CoreExport.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QToolButton;
class QVBoxLayout;

class DIALCREST_CORE_EXPORT ExtendDialog : public QDialog
{
    Q_OBJECT
public:
    enum WidgetType { NativeTitle = 0, FramedTitle = 1, CustomTitle = 2 };

    // widgetType is a WidgetType. The dialog owns whatever AddMainWidget gets.
    ExtendDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags(),
                 int widgetType = NativeTitle);
    ~ExtendDialog() override;

    // Puts widget (re-parented, owned) below the title strip; replaces and deletes the
    // earlier main widget. Null is ignored.
    void AddMainWidget(QWidget *widget);
    QWidget *MainWidget() const;
    // Sets the title in the dialog's own title strip and on the window. The strip follows
    // QWidget::setWindowTitle too (called through a QWidget pointer): see changeEvent.
    void setWindowTitle(const QString &title);
    // True when the dialog shows a title strip of its own.
    bool IsCusTitle() const;
    int WidgetTypeValue() const;
    // Resizes the dialog so that its main area gets size (the title strip and frame are
    // added on top).
    void changeSize(const QSize &size);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int titleHeight() const;
    int frameWidth() const;

    int m_iWidgetType;
    QVBoxLayout *m_pLayout = nullptr;
    QWidget *m_pTitleBar = nullptr;
    QLabel *m_pTitleLabel = nullptr;
    QToolButton *m_pCloseButton = nullptr;
    QPointer<QWidget> m_pMainWidget;
    QPoint m_dragOffset;
    bool m_bDragging = false;
};
