#pragma once

// Resource names shared by the .rc file and the code.
#define KANAROLL_ICON_MAIN L"MAINICON"
#define KANAROLL_ICON_MASTER L"MASTERICON"
#define KANAROLL_ICON_CLONE L"CLONEICON"
#define KANAROLL_ICON_SAVE L"SAVEICON"
