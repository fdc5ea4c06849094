#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>

#include "app/ProgramWindows.h"
#include "catalogue/TextCodec.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/WideText.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ListInfoText.h"
#include "tests/support/TempFolder.h"

namespace kanaroll::testing {

// Holds modifier keys down, as far as GetKeyState can tell, for its lifetime.
class HeldModifiers {
public:
    explicit HeldModifiers(std::initializer_list<int> keys) {
        GetKeyboardState(m_saved);
        BYTE state[256];
        GetKeyboardState(state);
        for (int key : keys) state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldModifiers() { SetKeyboardState(m_saved); }
    HeldModifiers(const HeldModifiers&) = delete;
    HeldModifiers& operator=(const HeldModifiers&) = delete;

private:
    BYTE m_saved[256];
};

// A program folder with listinfo.txt, a name list and kanaroll.ini as a test writes them, and the
// real windows created on it in this process, driven by messages.
class MainWindowTest : public ::testing::Test {
protected:
    TempFolder folder;
    FakeServices services;
    std::unique_ptr<Application> app;
    std::unique_ptr<ProgramWindows> windows;
    TForm1* form = nullptr;
    TForm2* replaceDialog = nullptr;
    TForm3* conditionEditor = nullptr;

    ~MainWindowTest() override { Destroy(); }

    void WriteListInfo(const std::vector<ListInfoGame>& games) {
        folder.Write("listinfo.txt", ListInfoText(games));
    }
    // Texts given in UTF-8 are written in Shift-JIS.
    void WriteFile(std::string_view name, std::string_view utf8) { folder.Write(name, Sjis(utf8)); }

    // Creates the three windows as the program does; nothing is shown or loaded yet.
    void CreateWindows() {
        app = std::make_unique<Application>(services);
        windows = std::make_unique<ProgramWindows>(*app, folder.Path());
        form = &windows->mainForm;
        replaceDialog = &windows->replaceDialog;
        conditionEditor = &windows->conditionEditor;
    }
    // Creates the windows, shows the main one and lets the start-up load run.
    void Start() {
        CreateWindows();
        form->Show();
        Pump();
    }

    // Destroys the windows, as the end of the program does (the main window writes kanaroll.ini).
    void Destroy() {
        form = nullptr;
        replaceDialog = nullptr;
        conditionEditor = nullptr;
        windows.reset();
        app.reset();
    }

    // Handles every waiting message, several rounds so that messages posted while handling are
    // handled too.
    void Pump() {
        for (int round = 0; round < 5 && app; ++round) {
            app->ProcessMessages();
            if (app->Terminated()) return;
        }
    }

    const TForm1::Controls& Ui() const { return form->Ui(); }
    const MainState& State() const { return form->State(); }

    // Keys go to the window that has the keyboard focus, as the user's would.
    void PressKey(UINT key) {
        HWND target = GetFocus();
        const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
        PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
        Pump();
    }
    void Type(std::wstring_view text) {
        HWND target = GetFocus();
        for (wchar_t c : text) PostMessageW(target, WM_CHAR, c, 1);
        Pump();
    }
    void Focus(HWND control) {
        SetFocus(control);
        Pump();
    }

    // Ctrl+S to the control that has the focus.
    void PressCtrlS() {
        HeldModifiers control({VK_CONTROL});
        PressKey('S');
    }
    void Click(HWND button) {
        SendMessageW(button, BM_CLICK, 0, 0);
        Pump();
    }
    // What a menu item sends when it is chosen.
    void Choose(int item) {
        PostMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
        Pump();
    }

    std::wstring Cell(HWND list, int row, int column) const { return listview::ItemText(list, row, column); }
    std::wstring Status(int panel) const { return statusbar::Text(Ui().StatusBar1, panel); }
    std::wstring Text(HWND control) const { return window::Text(control); }
    std::wstring FileText(std::string_view name) const { return ToWide(folder.Read(name), 932); }
};

}  // namespace kanaroll::testing
