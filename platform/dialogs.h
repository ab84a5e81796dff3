// Running the program's modal dialogs.
#pragma once

#include "platform/handles.h"

enum class DialogId { Settings, About };

class Dialogs {
public:
    // Runs the dialog from the module's template, owned by owner, and returns
    // when it has closed; its result is not reported.
    virtual void Run(DialogId dialog, InstanceHandle module, WindowHandle owner) = 0;

protected:
    ~Dialogs() = default;
};
