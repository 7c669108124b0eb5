// Dialogs from templates: the controls in dialog units, the modal run
// through the dialog hook, modeless dialogs and the dialog keys.
#include "WndFixture.h"

#include "Platform/Dialog.h"
#include "Platform/DialogHook.h"
#include "Platform/Playback.h"
#include "Platform/ResourceTemplates.h"

namespace {

// The options template (156): OK 1, Cancel 2 and Reset 3, font "System".
// Notes what reaches it and ends with 3 on Reset.
class NotedDialog : public CDialog {
public:
    explicit NotedDialog(CWnd* parent = nullptr) : CDialog(156, parent) {}
    Log log;
    BOOL initResult = TRUE;

    BOOL OnInitDialog() override
    {
        log.push_back(Fmt("init %d", GetDlgItem(3) != nullptr));
        return initResult;
    }
    void OnOK() override
    {
        log.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        log.push_back("cancel");
        CDialog::OnCancel();
    }

protected:
    void OnReset()
    {
        log.push_back("reset");
        EndDialog(3);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(NotedDialog, CDialog)
    ON_BN_CLICKED(3, OnReset)
END_MESSAGE_MAP()

// Installs a hook for the test's length.
struct HookScope {
    explicit HookScope(DialogHook hook) : old(AfxSetDialogHook(std::move(hook))) {}
    ~HookScope() { AfxSetDialogHook(old); }
    DialogHook old;
};

void Click(CDialog* dialog, int id)
{
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(WORD(id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(dialog->GetDlgItem(id)->GetSafeHwnd()));
}

} // namespace

TEST(Dialog, ModalDialogIsBuiltFromItsTemplateBeforeTheHookIsAsked)
{
    CWnd owner;
    CreateTop(owner, 100, 100, 400, 300);
    NotedDialog dialog(&owner);
    bool ownerEnabled = true;
    CRect client, reset;
    HookScope hook([&](DialogRequest& request, INT_PTR* answer) {
        EXPECT_EQ(DialogKind::Template, request.kind);
        EXPECT_EQ(156u, request.templateId);
        EXPECT_STREQ("Options", request.title);
        EXPECT_EQ(&dialog, request.data);
        auto* d = static_cast<CDialog*>(request.data);
        d->GetClientRect(&client);
        d->GetDlgItem(3)->GetWindowRect(&reset);
        d->ScreenToClient(&reset);
        ownerEnabled = owner.IsWindowEnabled();
        *answer = IDOK;
        return true;
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(Log{ "init 1" }, dialog.log);
    // "System" dialog units: a quarter of 8 and an eighth of 16 pixels.
    EXPECT_EQ(CRect(0, 0, 524, 292), client);
    EXPECT_EQ(CRect(444, 260, 512, 282), reset);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
}

TEST(Dialog, ModalResultIsTheOneTheDialogEndedWith)
{
    struct Case {
        const char* name;
        std::function<void(CDialog*)> work;
        INT_PTR answer;
        INT_PTR result;
        Log log;
    };
    const Case cases[] = {
        { "a button that ends the dialog", [](CDialog* d) { Click(d, 3); }, IDOK, 3, { "init 1", "reset" } },
        { "OK", [](CDialog* d) { Click(d, IDOK); }, IDCANCEL, IDOK, { "init 1", "ok" } },
        { "the close box", [](CDialog* d) { d->SendMessage(WM_CLOSE); }, IDOK, IDCANCEL, { "init 1", "cancel" } },
        { "nothing done", [](CDialog*) {}, 42, 42, { "init 1" } },
    };
    for (const Case& c : cases) {
        NotedDialog dialog;
        HookScope hook([&](DialogRequest& request, INT_PTR* answer) {
            c.work(static_cast<CDialog*>(request.data));
            *answer = c.answer;
            return true;
        });
        EXPECT_EQ(c.result, dialog.DoModal()) << c.name;
        EXPECT_EQ(c.log, dialog.log) << c.name;
    }
}

TEST(Dialog, WithoutHookOrDisplayTheDialogIsCancelledAndAMissingTemplateFails)
{
    NotedDialog dialog;
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(Log{ "init 1" }, dialog.log);
    CDialog missing(4242);
    EXPECT_EQ(-1, missing.DoModal());
}

TEST(Dialog, ModelessDialogStaysUntilDestroyedAndHidesOnOkAndCancel)
{
    CWnd owner;
    CreateTop(owner, 100, 100, 400, 300);
    CWnd child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 50), &owner, 9));
    NotedDialog dialog;
    ASSERT_TRUE(dialog.Create(156, &child));
    EXPECT_EQ(&owner, dialog.GetOwner());
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.IsWindowEnabled());

    dialog.ShowWindow(SW_SHOW);
    Click(&dialog, IDOK);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_NE(nullptr, dialog.GetSafeHwnd());
    dialog.ShowWindow(SW_SHOW);
    Click(&dialog, IDCANCEL);
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_EQ((Log{ "init 1", "ok", "cancel" }), dialog.log);

    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
    EXPECT_TRUE(dialog.Create(156, &owner));
}

TEST(Dialog, DialogThatDestroysItselfWhileInitialisingIsNotCreated)
{
    class Failing : public CDialog {
    public:
        Failing() : CDialog(156) {}
        BOOL OnInitDialog() override
        {
            DestroyWindow();
            return FALSE;
        }
    } dialog;
    EXPECT_FALSE(dialog.Create(156));
}

TEST(Dialog, KeysMoveAmongTabStopsAndClickTheButtons)
{
    CWnd owner;
    CreateTop(owner, 100, 100, 400, 300);
    NotedDialog dialog(&owner);
    ASSERT_TRUE(dialog.Create(156, &owner));
    dialog.ShowWindow(SW_SHOW);
    dialog.GotoDlgCtrl(dialog.GetDlgItem(IDOK));

    // Tab order is the template's: OK, Cancel, Reset, and round again.
    const int forward[] = { IDCANCEL, 3, IDOK };
    for (int id : forward) {
        PlayKey(VK_TAB);
        EXPECT_EQ(id, CWnd::GetFocus()->GetDlgCtrlID());
    }
    PlayKey(VK_TAB, MK_SHIFT);
    EXPECT_EQ(3, CWnd::GetFocus()->GetDlgCtrlID());

    dialog.log.clear();
    PlayKey(VK_ESCAPE);
    dialog.ShowWindow(SW_SHOW);
    dialog.SetFocus();
    dialog.SetDefID(3);
    PlayKey(VK_RETURN);
    EXPECT_EQ((Log{ "cancel", "reset" }), dialog.log);
}

TEST(Dialog, DialogUnitsFollowTheTemplateFont)
{
    // The font dialog's template is in 8-point Arial, wider units than "System".
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(32000));
    CRect units(0, 0, 4, 8);
    dialog.MapDialogRect(&units);
    EXPECT_EQ(DialogBaseUnits("Arial", 8), CSize(units.right, units.bottom));
    EXPECT_NE(nullptr, dialog.GetDlgItem(139)->GetFont());
}
