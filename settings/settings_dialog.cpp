#include "settings/settings_dialog.h"

#include "platform/win32/win32_platform.h"
#include "settings/hot_key.h"
#include "settings/settings_dialog_decisions.h"
#include "settings/settings_store.h"
#include "shared/app_state.h"

namespace {

void FillLetters(HWND dialog, int list, const char* letters) {
    for (const char* letter = letters; *letter != '\0'; ++letter) {
        const char item[] = {*letter, '\0'};
        SendDlgItemMessageA(dialog, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

void Tick(HWND dialog, int box, bool ticked) {
    CheckDlgButton(dialog, box, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool Ticked(HWND dialog, int box) {
    return IsDlgButtonChecked(dialog, box) == BST_CHECKED;
}

std::uint32_t Selected(HWND dialog, int list) {
    return static_cast<std::uint32_t>(SendDlgItemMessageA(dialog, list, CB_GETCURSEL, 0, 0));
}

void Show(HWND dialog, const SettingsChoices& shown) {
    CheckRadioButton(dialog, IDC_CTRLSHIFT_RADIO, IDC_WIN_RADIO,
                     shown.ctrlShift ? IDC_CTRLSHIFT_RADIO : IDC_WIN_RADIO);
    SendDlgItemMessageA(dialog, IDC_WIN_KEY, CB_SETCURSEL, shown.winIndex, 0);
    SendDlgItemMessageA(dialog, IDC_CTRLSHIFT_KEY, CB_SETCURSEL, shown.ctrlShiftIndex, 0);
    Tick(dialog, IDC_FORCE, shown.force);
    Tick(dialog, IDC_STARTUP, shown.startAtLogon);
    Tick(dialog, IDC_STAY_HIDDEN, shown.stayHidden);
}

SettingsChoices Chosen(HWND dialog) {
    return SettingsChoices{Ticked(dialog, IDC_CTRLSHIFT_RADIO), Selected(dialog, IDC_CTRLSHIFT_KEY),
                           Selected(dialog, IDC_WIN_KEY),       Ticked(dialog, IDC_FORCE),
                           Ticked(dialog, IDC_STARTUP),         Ticked(dialog, IDC_STAY_HIDDEN)};
}

INT_PTR OnInitDialog(HWND dialog) {
    AppState.settingsDialogOpen = 1;
    FillLetters(dialog, IDC_WIN_KEY, WIN_KEY_LETTERS);
    FillLetters(dialog, IDC_CTRLSHIFT_KEY, CTRL_SHIFT_KEY_LETTERS);
    Show(dialog, StoredSettingsChoices(Win32Platform().registry));
    AppState.startupAtOpen = Ticked(dialog, IDC_STARTUP) ? 1 : 0;
    return TRUE;  // the dialog manager sets the default focus
}

// The dialog stays open with the refused choice, and the keyboard goes to
// its letter list, where the user makes the next one.
void TellHotKeyRefused(HWND dialog, HotKeyChoice refused) {
    char text[REFUSED_MESSAGE_SIZE];
    RefusedHotKeyMessage(refused, text);
    MessageBoxA(dialog, text, AppState.windowTitle, MB_OK | MB_ICONWARNING);
    const int list = refused.ctrlShift ? IDC_CTRLSHIFT_KEY : IDC_WIN_KEY;
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, list)), TRUE);
}

void Close(HWND dialog, int result) {
    AppState.settingsDialogOpen = 0;
    EndDialog(dialog, result);
}

INT_PTR OnCommand(HWND dialog, WORD command) {
    switch (command) {
        case IDOK:
            if (const OkOutcome outcome =
                    ApplySettingsChoices(Chosen(dialog), AppState, Win32Platform());
                !outcome.applied) {
                TellHotKeyRefused(dialog, outcome.refused);
                return TRUE;
            }
            Close(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            Close(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;  // the controls keep their own state
    }
}

}  // namespace

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        default:
            return FALSE;
    }
}
