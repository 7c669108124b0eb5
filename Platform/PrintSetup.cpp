#include "Platform/DialogHook.h"
#include "Platform/PrinterData.h"
#include "Platform/WinApp.h"
#include "Platform/WndData.h"

#include <QPageSetupDialog>
#include <QPrinter>

QPrinter* AfxAppPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return &printer;
}

void CWinApp::OnFilePrintSetup()
{
    CWnd* owner = AfxGetMainWnd();
    DialogRequest request = { DialogKind::PrintSetup, owner, "Print Settings", nullptr, 0, 0, AfxAppPrinter() };
    AfxRunModal(request, [owner]() -> INT_PTR {
        QWidget* parent = owner ? WndFrameWidget(owner->GetSafeHwnd()) : nullptr;
        QPageSetupDialog dialog(AfxAppPrinter(), parent);
        return dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    });
}
