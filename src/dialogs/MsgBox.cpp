#include "dialogs/MsgBox.h"

#include <exception>

#include "dialogs/f_MsgDlg.h"
#include "ui/Application.h"

namespace qv {

int MsgBox(TMsgKind Kind, const std::wstring& Msg, const std::wstring& Detail, bool RemindChecked,
           const std::wstring& RemindText) {
    // Callers are window handlers: a dialog that cannot be shown answers as a dismissed one.
    try {
        // Owned by the application while it lives; destroyed when this call ends, however it
        // ends.
        auto dialog = MakeForm<Tfrm_MsgDlg>(&Application());
        dialog->Prepare(Kind, Msg, Detail, RemindChecked, RemindText);
        return dialog->Answer(dialog->ShowModal());
    } catch (const std::exception& e) {
        OutputDebugStringA((std::string("[MsgBox] ") + e.what()).c_str());
        return kMsgAnswerCancel;
    }
}

}  // namespace qv
