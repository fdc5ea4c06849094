#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "platform/Window.h"

namespace kanaroll {

// A small window that tells how a long task goes and offers to stop it: a line of text and a
// cancel button, centred over its owner, which it leaves enabled so that it keeps repainting; the
// owner disables itself while the task runs. Closing it counts as the cancel button.
class ProgressWindow : public Window {
public:
    ProgressWindow(HWND owner, std::wstring_view title, HFONT font, std::function<void()> onCancel);

    void SetText(std::wstring_view text);
    HWND Label() const { return m_label; }
    HWND CancelButton() const { return m_cancel; }

    // The client area and the controls' bounds at 96 dpi.
    static constexpr SIZE kDesignClient{304, 80};
    static constexpr RECT kDesignLabel{12, 14, 292, 34};
    static constexpr RECT kDesignCancel{112, 46, 192, 70};

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code, HWND control) override;

private:
    std::function<void()> m_onCancel;
    HWND m_label = nullptr;
    HWND m_cancel = nullptr;
};

}  // namespace kanaroll
