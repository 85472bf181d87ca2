// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the selected messages, or of every message of the folder shown, to a CSV file
// that spreadsheet programs open: UTF-8 with a byte-order mark (so that non-Latin texts are
// recognised), every field quoted, inner quotes doubled, one line feed per line.
#include "SMSUIMainDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QSaveFile>
#include <QTextStream>

#include "CommonUtils.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"

namespace {
SMSUIMainDlg::SaveFileChooser &saveFileChooser()
{
    static SMSUIMainDlg::SaveFileChooser chooser;
    return chooser;
}

QString quoted(const QString &field)
{
    QString text = field;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The rows to export, top to bottom: all of them, or those with a selected cell.
QList<int> exportRows(const SMSUITableWidget *table, bool all)
{
    QList<int> rows;
    if (all) {
        rows.reserve(table->rowCount());
        for (int row = 0; row < table->rowCount(); ++row)
            rows.append(row);
        return rows;
    }
    const QItemSelection selection = table->selectionModel()
        ? table->selectionModel()->selection()
        : QItemSelection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
} // namespace

SMSUIMainDlg::SaveFileChooser SMSUIMainDlg::setSaveFileChooser(SaveFileChooser chooser)
{
    SaveFileChooser previous = std::move(saveFileChooser());
    saveFileChooser() = std::move(chooser);
    return previous;
}

void SMSUIMainDlg::onClickExportSMS()
{
    runExport(1);
}

void SMSUIMainDlg::onClickExportAllSMS()
{
    runExport(2);
}

void SMSUIMainDlg::runExport(int mode)
{
    m_iExportMode = mode;
    const QString proposed = QDir::homePath() + QStringLiteral("/*.csv");
    const QString caption = tr(QStringLiteral("IDS_EXPORT_SAVEAS"));
    const QString filter = tr(QStringLiteral("IDS_EXPORT_FILTER"));
    const QString path = saveFileChooser()
        ? saveFileChooser()(this, caption, proposed, filter)
        : QFileDialog::getSaveFileName(this, caption, proposed, filter);
    if (path.isEmpty())
        return;  // cancelled
    if (!saveToFile(path))
        return;  // saveToFile told the user
    CommonUtils::ShowMessage(QMessageBox::Information, this, tr(QStringLiteral("IDS_STR_PROMPT")),
                             tr(QStringLiteral("IDS_SMS_BACKUPSUCCESS")), QStringLiteral("IDS_OK"),
                             QString(), QString(), true, Qt::WindowFlags(), &m_pMessageBox);
    m_pMessageBox = nullptr;
}

void SMSUIMainDlg::onFileSelected(const QString &path)
{
    if (saveToFile(path))
        qCDebug(lcSmsWindow) << "messages exported to" << path;
}

bool SMSUIMainDlg::saveToFile(const QString &path)
{
    if (!m_pCurrentTable)
        return false;
    // Written beside the target and renamed over it at the end, so that a failed export
    // never leaves a half-written file in place of one the user chose to replace.
    QSaveFile file(path);
    const auto fail = [this, &file, &path]() {
        qCWarning(lcSmsWindow) << "export to" << path << "failed:" << file.errorString();
        file.cancelWriting();
        CommonUtils::ShowMessage(QMessageBox::Information, this,
                                 tr(QStringLiteral("IDS_ERROR_CAPTION")),
                                 tr(QStringLiteral("IDS_SMS_BACKUPFAILURE")),
                                 QStringLiteral("IDS_OK"), QString(), QString(), true,
                                 Qt::WindowFlags(), &m_pMessageBox);
        m_pMessageBox = nullptr;
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    file.write("\xEF\xBB\xBF", 3);
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    out << tr(QStringLiteral("IDS_LST_NAME")) << '/' << tr(QStringLiteral("IDS_LST_TEL")) << ','
        << tr(QStringLiteral("IDS_LST_CONTENT")) << ',' << tr(QStringLiteral("IDS_LST_TIME"))
        << '\n';
    const bool all = m_iExportMode == 2 && m_pStatusLogicObject;
    for (int row : exportRows(m_pCurrentTable, all)) {
        if (!m_pCurrentTable->item(row, 0))
            break;
        const SmsRecord *record = m_pCurrentTable->recordAt(row);
        if (!record)
            continue;
        out << quoted(record->strNumber) << ',' << quoted(record->strContent) << ','
            << quoted(record->strDisplayTime) << '\n';
    }
    out.flush();
    // A full disk shows up here or at the rename; either way the user is told.
    if (out.status() != QTextStream::Ok || !file.commit())
        return fail();
    return true;
}
