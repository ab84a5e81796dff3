// Opaque handle types for the platform-free code.
//
// They are the very types that <windows.h> declares for its handles (with
// STRICT, its default), so the Win32 layer passes HWND, HINSTANCE and HICON
// through without casts while this code never includes the platform headers.
#pragma once

struct HWND__;
struct HINSTANCE__;
struct HICON__;

using WindowHandle = HWND__*;
using InstanceHandle = HINSTANCE__*;
using IconHandle = HICON__*;
