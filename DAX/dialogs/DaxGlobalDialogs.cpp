#include "DAX/dialogs/DaxGlobalDialogs.h"

#include "DAX/dialogs/CDaxDialog.h"
#include "PIM/core/CxLinkedList.h"
#include "PIM/core/PimGamePath.h"
#include "PIM/core/Pimstr.h"
#include "PIM/files/CxOptions.h"

namespace {

CxLinkedList<CDaxDialog*>& Dialogs()
{
    static CxLinkedList<CDaxDialog*> dialogs;
    return dialogs;
}

CDaxDialog* g_pending = nullptr;

} // namespace

int DaxAddGlobalDialog(CDaxDialog* dialog)
{
    if (!dialog)
        return PIM_OK;
    if (!Dialogs().Append(dialog)) {
        delete dialog;
        return PIM_ERR_OUT_OF_MEMORY; // the allocator has said so
    }
    return PIM_OK;
}

int DaxLoadGlobalDialogs(CxOptions& options, const char* section)
{
    const CxOptionSection* dialogs = options.FindSection(section);
    if (!dialogs)
        return 0;
    int added = 0;
    for (const auto* node = dialogs->GetFirstNode(); node; node = node->GetNext()) {
        const CxOptionVariable* variable = node->GetElement();
        auto* dialog = new CDaxDialog;
        if (!dialog)
            break;
        dialog->SetName(variable->GetName());
        CxString path;
        if (BuildGamePathFromData(path, variable->GetValue()) == PIM_OK)
            dialog->LoadDialog(path.GetText());
        else
            dialog->LoadDialog(nullptr);
        if (DaxAddGlobalDialog(dialog) == PIM_OK)
            ++added;
    }
    return added;
}

CDaxDialog* DaxFindGlobalDialog(const char* name)
{
    if (!name)
        return nullptr;
    for (auto* node = Dialogs().GetFirst(); node; node = node->GetNext())
        if (PimStrEqual(node->GetElement()->GetName(), name, true))
            return node->GetElement();
    return nullptr;
}

size_t DaxGetGlobalDialogCount()
{
    return Dialogs().GetCount();
}

CDaxDialog* DaxGetGlobalDialog(size_t index)
{
    CDaxDialog** dialog = Dialogs().GetAt(index);
    return dialog ? *dialog : nullptr;
}

void DaxRemoveAllGlobalDialogs()
{
    g_pending = nullptr;
    CDaxDialog* dialog = nullptr;
    // Each leaves the list before it goes, so its destructor finds nothing to forget.
    while (Dialogs().PopFront(dialog)) {
        if (dialog->IsRunningModal())
            dialog->DeleteWhenClosed();
        else
            delete dialog;
    }
}

bool DaxSetPendingDialog(const char* name)
{
    CDaxDialog* dialog = DaxFindGlobalDialog(name);
    g_pending = dialog && !dialog->IsRunningModal() ? dialog : nullptr;
    return g_pending != nullptr;
}

void DaxClearPendingDialog()
{
    g_pending = nullptr;
}

CDaxDialog* DaxGetPendingDialog()
{
    return g_pending;
}

int DaxRunPendingDialog()
{
    CDaxDialog* dialog = g_pending;
    g_pending = nullptr;
    return dialog && !dialog->IsRunningModal() ? dialog->DoModal() : PIM_OK;
}

bool DaxEndModalDialog(const char* name)
{
    CDaxDialog* dialog = DaxFindGlobalDialog(name);
    if (dialog)
        dialog->EndModal();
    return dialog != nullptr;
}

namespace DaxGlobalDialogsInternal
{
void Forget(const CDaxDialog* dialog)
{
    if (g_pending == dialog)
        g_pending = nullptr;
    Dialogs().RemoveElement(const_cast<CDaxDialog*>(dialog));
}
} // namespace DaxGlobalDialogsInternal
