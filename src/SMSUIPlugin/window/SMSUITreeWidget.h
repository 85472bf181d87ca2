#pragma once
// The folder tree of the SMS window.
#include <QTreeWidget>

class SMSUIMainDlg;

class SMSUITreeWidget : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SMSUITreeWidget(QWidget *parent = nullptr) : QTreeWidget(parent) {}

    // Not owned: the window the tree belongs to.
    void setMainDlg(SMSUIMainDlg *dlg) { m_pMainDlg = dlg; }
    SMSUIMainDlg *mainDlg() const { return m_pMainDlg; }

    // Number of ancestors of an item (0 for a top-level item).
    static int depthOf(const QTreeWidgetItem *item);

private:
    SMSUIMainDlg *m_pMainDlg = nullptr;
};
