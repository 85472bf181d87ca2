// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder tree of the SMS window; also the target of messages dragged from a table.
#include <QList>

#include <initializer_list>
#include <QString>
#include <QTreeWidget>

class SMSUIMainDlg;

class SMSUITreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SMSUITreeWidget(QWidget *parent = nullptr);

    // Not owned: the window the tree belongs to.
    void setMainDlg(SMSUIMainDlg *dlg) { m_pMainDlg = dlg; }
    SMSUIMainDlg *mainDlg() const { return m_pMainDlg; }

    // Number of ancestors of an item (0 for a top-level item).
    static int depthOf(const QTreeWidgetItem *item);

    // ---- drop target ----
    // The folder whose row contains rect (viewport coordinates), roots and the folders
    // most often aimed at first; its position, or 16 when none. *item gets the folder.
    int GetItemAtPos(const QRect &rect, QTreeWidgetItem **item) const;
    int GetItemAtPosForDraftDeleteImportant(const QRect &rect, QTreeWidgetItem **item) const;
    void smsItemSelectionChanged() { emit itemSelectionChanged(); }
    // Highlights item as current without the window switching folders.
    void setCurrentItemQuietly(QTreeWidgetItem *item);
    const QList<QString> &droppedIds() const { return m_droppedIds; }
    void clearDroppedIds() { m_droppedIds.clear(); }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool isOwnDrag(const QDropEvent *event) const;
    int firstItemAt(const QRect &rect, std::initializer_list<int> positions,
                    QTreeWidgetItem **item) const;

    SMSUIMainDlg *m_pMainDlg = nullptr;
    QList<QString> m_droppedIds;
};
