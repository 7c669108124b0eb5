#include "Platform/CommonDialogs.h"

#include "Platform/DialogHook.h"
#include "Platform/WndData.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>

#include <cstring>

namespace {

QWidget* OwnerWidget(HWND owner)
{
    QWidget* w = WndFrameWidget(owner);
    return w ? w->window() : nullptr;
}

// "desc\0pattern\0...\0\0" as Qt name filters "desc (p1 p2)".
QStringList NameFilters(const char* filter)
{
    QStringList filters;
    while (filter && *filter) {
        const char* pattern = filter + std::strlen(filter) + 1;
        if (!*pattern)
            break;
        QString patterns = QString::fromUtf8(pattern);
        patterns.replace(QChar(';'), QChar(' '));
        filters << QStringLiteral("%1 (%2)").arg(QString::fromUtf8(filter), patterns);
        filter = pattern + std::strlen(pattern) + 1;
    }
    return filters;
}

bool Copy(const QByteArray& bytes, char* buffer, DWORD size)
{
    if (!buffer || DWORD(bytes.size()) + 1 > size)
        return false;
    std::memcpy(buffer, bytes.constData(), size_t(bytes.size()));
    buffer[bytes.size()] = 0;
    return true;
}

// Writes the chosen files into the record as the dialog would.
bool Fill(OPENFILENAME* ofn, const QStringList& files)
{
    if (files.isEmpty())
        return false;
    QByteArray buffer;
    if (files.size() == 1) {
        buffer = files[0].toUtf8();
    } else {
        buffer = QFileInfo(files[0]).absolutePath().toUtf8();
        for (const QString& file : files)
            buffer += '\0' + QFileInfo(file).fileName().toUtf8();
        buffer += '\0';
    }
    if (!ofn->lpstrFile || DWORD(buffer.size()) + 1 > ofn->nMaxFile)
        return false;
    std::memcpy(ofn->lpstrFile, buffer.constData(), size_t(buffer.size()));
    ofn->lpstrFile[buffer.size()] = 0;
    const QFileInfo first(files[0]);
    const int nameAt = files.size() == 1 ? int(buffer.size() - first.fileName().toUtf8().size())
                                         : int(first.absolutePath().toUtf8().size()) + 1;
    ofn->nFileOffset = WORD(nameAt);
    const int dot = files.size() == 1 ? buffer.lastIndexOf('.') : -1;
    ofn->nFileExtension = WORD(dot > nameAt ? dot + 1 : 0);
    if (ofn->lpstrFileTitle)
        Copy(first.fileName().toUtf8(), ofn->lpstrFileTitle, ofn->nMaxFileTitle);
    return true;
}

BOOL RunFileDialog(OPENFILENAME* ofn, bool open)
{
    if (!ofn)
        return FALSE;
    DialogRequest request = { open ? DialogKind::FileOpen : DialogKind::FileSave, CWnd::FromHandle(ofn->hwndOwner),
                              ofn->lpstrTitle ? ofn->lpstrTitle : "", "", 0, 0, ofn };
    const INT_PTR answer = AfxRunModal(request, [ofn, open]() -> INT_PTR {
        QFileDialog dialog(OwnerWidget(ofn->hwndOwner));
        if (ofn->lpstrTitle)
            dialog.setWindowTitle(QString::fromUtf8(ofn->lpstrTitle));
        dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        if (open)
            dialog.setFileMode((ofn->Flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                   : QFileDialog::ExistingFile);
        else
            dialog.setFileMode(QFileDialog::AnyFile);
        if (!(ofn->Flags & OFN_OVERWRITEPROMPT))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = NameFilters(ofn->lpstrFilter);
        if (!filters.isEmpty())
            dialog.setNameFilters(filters);
        if (ofn->lpstrDefExt && *ofn->lpstrDefExt)
            dialog.setDefaultSuffix(QString::fromUtf8(ofn->lpstrDefExt));
        if (ofn->lpstrInitialDir && *ofn->lpstrInitialDir)
            dialog.setDirectory(QString::fromUtf8(ofn->lpstrInitialDir));
        if (ofn->lpstrFile && *ofn->lpstrFile)
            dialog.selectFile(QString::fromUtf8(ofn->lpstrFile));
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        return Fill(ofn, dialog.selectedFiles()) ? IDOK : IDCANCEL;
    });
    return answer == IDOK;
}

} // namespace

BOOL GetOpenFileName(OPENFILENAME* lpofn) { return RunFileDialog(lpofn, true); }
BOOL GetSaveFileName(OPENFILENAME* lpofn) { return RunFileDialog(lpofn, false); }

BOOL ChooseColor(CHOOSECOLOR* lpcc)
{
    if (!lpcc)
        return FALSE;
    DialogRequest request = { DialogKind::Color, CWnd::FromHandle(lpcc->hwndOwner), "", "", 0, 0, lpcc };
    const INT_PTR answer = AfxRunModal(request, [lpcc]() -> INT_PTR {
        const COLORREF start = (lpcc->Flags & CC_RGBINIT) ? lpcc->rgbResult : 0;
        QColorDialog dialog(QColor(GetRValue(start), GetGValue(start), GetBValue(start)), OwnerWidget(lpcc->hwndOwner));
        if (lpcc->lpCustColors) {
            for (int i = 0; i < 16; ++i) {
                const COLORREF c = lpcc->lpCustColors[i];
                QColorDialog::setCustomColor(i, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
            }
        }
        if (dialog.exec() != QDialog::Accepted)
            return IDCANCEL;
        const QColor chosen = dialog.selectedColor();
        lpcc->rgbResult = RGB(BYTE(chosen.red()), BYTE(chosen.green()), BYTE(chosen.blue()));
        return IDOK;
    });
    return answer == IDOK;
}

BOOL BrowseForFolder(BROWSEINFO* lpbi)
{
    if (!lpbi || !lpbi->pszPath)
        return FALSE;
    DialogRequest request = { DialogKind::Folder, CWnd::FromHandle(lpbi->hwndOwner),
                              lpbi->lpszTitle ? lpbi->lpszTitle : "", "", 0, 0, lpbi };
    const INT_PTR answer = AfxRunModal(request, [lpbi]() -> INT_PTR {
        const QString folder = QFileDialog::getExistingDirectory(
            OwnerWidget(lpbi->hwndOwner), QString::fromUtf8(lpbi->lpszTitle ? lpbi->lpszTitle : ""),
            QString::fromUtf8(lpbi->lpszInitialFolder ? lpbi->lpszInitialFolder : ""));
        if (folder.isEmpty() || !Copy(folder.toUtf8(), lpbi->pszPath, lpbi->nMaxPath))
            return IDCANCEL;
        return IDOK;
    });
    return answer == IDOK;
}
