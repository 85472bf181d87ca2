// SPDX-License-Identifier: GPL-3.0-or-later
// Export of the selected messages, or of every message of the folder shown, to a CSV file
// that spreadsheet programs open: UTF-8 with a byte-order mark (so that non-Latin texts are
// recognised), every field quoted, inner quotes doubled, one line feed per line, times
// written so that they sort, and nothing a spreadsheet would run as a formula.
#include "SMSUIMainDlg.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include "CommonUtils.h"
#include "SMSUITableWidget.h"
#include "SmsLog.h"
#include "store/SmsTimeText.h"

namespace {
SMSUIMainDlg::SaveFileChooser &saveFileChooser()
{
    static SMSUIMainDlg::SaveFileChooser chooser;
    return chooser;
}

// A spreadsheet runs a field that starts with one of these as a formula, so a stranger's
// "=HYPERLINK(...)" would become a live link. The usual advice is a leading apostrophe,
// which the spreadsheet reads as "this is text"; phone numbers starting with "+" get it
// too, which also keeps the "+" that would otherwise be read as a sign.
bool looksLikeFormula(const QString &field)
{
    static const QString starts = QStringLiteral("=+-@\t\r");
    return !field.isEmpty() && starts.contains(field.front());
}

QString quoted(const QString &field)
{
    QString text = looksLikeFormula(field) ? QLatin1Char('\'') + field : field;
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

// ISO 8601 with a space, as spreadsheets read it: sorts across years whatever the locale.
QString exportedTime(const SmsRecord &record)
{
    const QDateTime time = SmsTimeFromText(record.strTime);
    return time.isValid() ? time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                          : record.strDisplayTime;
}

// A folder's name as part of a file name: the characters no file system takes, and
// spaces, become "-".
QString fileNamePart(const QString &name)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\s/\\\\:*?\"<>|]+"));
    QString part = name;
    part.replace(unsafe, QStringLiteral("-"));
    while (part.startsWith(QLatin1Char('-')) || part.startsWith(QLatin1Char('.')))
        part.remove(0, 1);
    while (part.endsWith(QLatin1Char('-')))
        part.chop(1);
    return part;
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
    const QString folder = fileNamePart(folderTitle(m_iSelectedTreeNode));
    const QString proposed = QDir::homePath() + QStringLiteral("/messages-")
        + (folder.isEmpty() ? QString() : folder + QLatin1Char('-'))
        + QDate::currentDate().toString(Qt::ISODate) + QStringLiteral(".csv");
    const QString caption = tr(QStringLiteral("IDS_EXPORT_SAVEAS"));
    const QString filter = tr(QStringLiteral("IDS_EXPORT_FILTER"));
    const QString path = saveFileChooser()
        ? saveFileChooser()(this, caption, proposed, filter)
        : QFileDialog::getSaveFileName(this, caption, proposed, filter);
    if (path.isEmpty())
        return;  // cancelled
    if (!saveToFile(path))
        return;  // saveToFile told the user
    CommonUtils::ShowMessage(QMessageBox::Information, this,
                             tr(QStringLiteral("IDS_STR_EXPORT_TITLE")),
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
            << quoted(exportedTime(*record)) << '\n';
    }
    out.flush();
    // A full disk shows up here or at the rename; either way the user is told.
    if (out.status() != QTextStream::Ok || !file.commit())
        return fail();
    return true;
}
