#include "tests/win/wine_desktop.h"

HWND Taskbar() {
    return FindWindowA("Shell_TrayWnd", "");
}

bool TaskbarShown() {
    const HWND taskbar = Taskbar();
    return taskbar != nullptr && IsWindowVisible(taskbar);
}

RECT WorkArea() {
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

::testing::AssertionResult WorkAreaIs(const RECT& expected) {
    const RECT area = WorkArea();
    if (EqualRect(&area, &expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "work area " << area.left << "," << area.top << "," << area.right << ","
           << area.bottom << ", expected " << expected.left << "," << expected.top << ","
           << expected.right << "," << expected.bottom;
}
