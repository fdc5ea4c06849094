#pragma once

#include <windows.h>

namespace kanaroll::hook {

// Procedures put in front of a control's own window procedure, the last installed first, each
// handing on what it does not take with CallNext. Unlike comctl32's subclassing, the chain is found
// without window properties: under Wine each property lookup is a round trip to the window server,
// and subclassing makes one or more for every message the control gets.
//
// The chain belongs to the thread that installs it, which must be the window's own. WM_NCDESTROY
// reaches every procedure (the place to free its data); the chain is gone after it.
using Procedure = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* data);

// Installing a procedure the window already has changes only its data. False when the window's
// procedure could not be replaced.
bool Install(HWND window, Procedure procedure, void* data);

// The data `procedure` was installed with on `window`, or null.
void* Find(HWND window, Procedure procedure);

// From inside a hook procedure: the next procedure of the chain, or the control's own.
LRESULT CallNext(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kanaroll::hook
