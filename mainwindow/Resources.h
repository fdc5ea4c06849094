#pragma once

// Names of the icons that app/kanaroll.rc gives the program, as the main window loads them.
#define KANAROLL_ICON_MAIN L"MAINICON"
#define KANAROLL_ICON_MASTER L"MASTERICON"
#define KANAROLL_ICON_CLONE L"CLONEICON"
#define KANAROLL_ICON_SAVE L"SAVEICON"
