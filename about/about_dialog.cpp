#include "about/about_dialog.h"

#include "hyperlink/hyperlink.h"
#include "shared/app_state.h"

namespace {

// The link attaches anew at every opening, so its visited colour lasts for
// the run. Should it fail, the address still shows, as plain text.
INT_PTR OnInitDialog(HWND dialog) {
    AppState.aboutDialogOpen = 1;
    aboutLink.AttachToDlgItem(dialog, IDC_HOME_PAGE, HOME_PAGE_ADDRESS);
    return TRUE;  // the dialog manager gives the focus to OK, the one tab stop
}

void Close(HWND dialog, int result) {
    AppState.aboutDialogOpen = 0;
    EndDialog(dialog, result);
}

INT_PTR OnCommand(HWND dialog, WORD command) {
    switch (command) {
        case IDOK:
        case IDCANCEL:
            Close(dialog, command);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

// The link's colours come from the link's own subclass of this dialog.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        default:
            return FALSE;
    }
}
