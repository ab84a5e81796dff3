// The program's two modal dialogs, each run from its template with its
// dialog procedure: the Win32 implementation of the Dialogs interface,
// which lives with the application, as only it knows both procedures.
#pragma once

#include "platform/dialogs.h"

Dialogs& Win32Dialogs();
