#pragma once

#include <windows.h>

#include "platform/Dpi.h"
#include "platform/FormSupport.h"
#include "platform/Handles.h"
#include "platform/Window.h"

namespace kanaroll {

class Application;
class TForm2;

// The condition editor: a modal dialog over the replace dialog that makes a new rule or edits one.
class TForm3 : public Window {
public:
    TForm3(Application& application, TForm2& replaceDialog);
    ~TForm3() override;

    // Opens the editor on rule `editIndex` of the replace dialog, or on a new rule for -1, and
    // returns when it has closed. The other windows of the program take no input meanwhile. Errors
    // are reported; none leaves this call.
    void ShowModal(int editIndex) noexcept;

    struct Controls {
        HWND Label1 = nullptr;
        HWND Edit1 = nullptr;  // search text
        HWND Label2 = nullptr;
        HWND Edit2 = nullptr;  // replacement text
        HWND CheckBox1 = nullptr;
        HWND Button1 = nullptr;  // OK, the default button
        HWND BitBtn1 = nullptr;  // 閉じる, the cancel button
    };
    const Controls& Ui() const { return m_ui; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void ApplyScale();
    void OnDpiChanged(const dpi::Change& change);
    void RunModal(int editIndex);
    void FormShow();
    void OnCommand(int id, int code, HWND control) override;
    void Button1Click();
    void BitBtn1Click();
    void CloseEditor();

    Application& m_application;
    TForm2& m_replaceDialog;
    Controls m_ui;
    DpiScale m_scale;  // the editor's dpi, which its layout is scaled by
    UniqueFont m_font;
    forms::FocusKeeper m_focus;
    int m_editIndex = -1;  // the rule being edited, -1 for a new one
    bool m_running = false;
    bool m_closeRequested = false;
};

}  // namespace kanaroll
