#pragma once

#include <windows.h>

#include <optional>

#include "catalogue/TextCodec.h"
#include "platform/Dpi.h"
#include "platform/FormSupport.h"
#include "platform/Handles.h"
#include "platform/Window.h"
#include "replace/ReplaceHost.h"

namespace kanaroll {

class Application;
class TForm3;

// The replace dialog: lists the replace rules, runs them on the current title, and adds, edits and
// deletes rules. Modeless and always on top; closing it only hides it. Row i of its list always
// shows rule i of the host's rule list.
class TForm2 : public Window {
public:
    TForm2(Application& application, ReplaceHost& host);
    ~TForm2() override;

    void AttachConditionEditor(TForm3* editor) { m_editor = editor; }

    // Shows the dialog and brings it to the front. A hidden dialog opens at a fixed offset from
    // `window`'s corner; a visible one keeps its place.
    void ShowBeside(HWND window);

    struct Controls {
        HWND Label1 = nullptr;
        HWND ListView1 = nullptr;
        HWND Button5 = nullptr;  // 置換(&R), the default button
        HWND Button2 = nullptr;  // 新規条件(&A)...
        HWND Button3 = nullptr;  // 編集(&E)...
        HWND Button4 = nullptr;  // 削除(&D)
        HWND BitBtn1 = nullptr;  // 閉じる, the cancel button
    };
    const Controls& Ui() const { return m_ui; }

    ReplaceRuleList& Rules();
    const TextCodec& Codec() const;

    // Changes made by the condition editor, to the rule list and to the rows together.
    // A new rule goes last; its row gets the focus mark and is scrolled fully into view, while the
    // selected row stays selected.
    void AppendRule(const TReplacePatterns& rule);
    void ChangeRule(int index, const TReplacePatterns& rule);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void ApplyScale(std::optional<DpiScale> previous = std::nullopt);
    void OnDpiChanged(const dpi::Change& change);
    void FormCreate();
    void FormShow();
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(NMHDR& header) override;
    void Button5Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void BitBtn1Click();
    void OpenEditor(int editIndex);
    void ShowRuleCells(int row, const TReplacePatterns& rule);
    void FocusControl(HWND control);

    Application& m_application;
    ReplaceHost& m_host;
    TForm3* m_editor = nullptr;
    Controls m_ui;
    DpiScale m_scale;  // the dialog's dpi, which its layout is scaled by
    UniqueFont m_font;
    forms::FocusKeeper m_focus;
};

}  // namespace kanaroll
