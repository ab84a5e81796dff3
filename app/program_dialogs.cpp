#include "app/program_dialogs.h"

#include <windows.h>

#include "about/about_dialog.h"
#include "res/resource_ids.h"
#include "settings/settings_dialog.h"

namespace {

constexpr LPARAM NO_PARAMETER = 0;

class DialogsApi final : public Dialogs {
public:
    void Run(DialogId dialog, InstanceHandle module, WindowHandle owner) override {
        switch (dialog) {
            case DialogId::Settings:
                DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_SETTINGS), owner, SettingsDlgProc,
                                NO_PARAMETER);
                break;
            case DialogId::About:
                DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc,
                                NO_PARAMETER);
                break;
        }
    }
};

}  // namespace

Dialogs& Win32Dialogs() {
    static DialogsApi dialogs;
    return dialogs;
}
