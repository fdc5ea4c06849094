#pragma once

#include <windows.h>

#include <commctrl.h>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/GameList.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/NameListFormat.h"
#include "catalogue/RecoveryJournal.h"
#include "catalogue/TextCodec.h"
#include "mainwindow/FamilyIndex.h"
#include "mainwindow/MainState.h"
#include "platform/ContainerWindow.h"
#include "platform/Dpi.h"
#include "platform/Handles.h"
#include "platform/Services.h"
#include "platform/Splitter.h"
#include "platform/TypeAheadBuffer.h"
#include "platform/WaitCursor.h"
#include "platform/Window.h"
#include "proposals/ProposalEngine.h"
#include "replace/ReplaceHost.h"

namespace kanaroll {

class Application;
class IoError;
class MameListXml;
class ProgressWindow;
class TForm2;
struct NameListChoice;
struct RecoveryPlan;

// The main window: the game list above, the detail panel, family list and output controls below,
// the status bar at the bottom. Its methods are spread over topic files: TForm1.cpp (life cycle,
// status bar, the commands and notifications of the controls and the menu), TForm1Layout.cpp
// (creating the controls and the popup menu), TForm1Keys.cpp (every key the window answers),
// TForm1GameList.cpp (the game list), TForm1SortHeader.cpp (the sort indicator),
// TForm1Details.cpp (detail panel, family list, editing), TForm1Encoding.cpp, TForm1Saving.cpp,
// TForm1Replace.cpp, TForm1Launch.cpp and TForm1Proposals.cpp (the proposed title and reading, F4
// and the search for untranslated games).
//
// A new key goes into TForm1Keys.cpp and its table. A new menu entry gets an id in ControlIds.h, its
// line in CreatePopupMenu1 and its case in OnCommand. A new window of the program is created and
// wired in app/ProgramWindows; one that acts on the main window sees it through an interface of
// its own, as the replace dialog does (ReplaceHost).
class TForm1 : public Window, public ReplaceHost, private LoadProgress {
public:
    static constexpr UINT kStartupLoadMessage = WM_USER + 1;
    static constexpr SIZE kDesignSize{950, 667};          // the window's outer size at 96 dpi
    static constexpr UINT_PTR kFamilyIndexTimer = 1;      // the families indexed again after a sort
    static constexpr UINT kListXmlMessage = WM_USER + 3;  // MAME's -listxml output came or ended
    static constexpr UINT kFamilyIndexDelayMs = 200;
    // Tells the user that the recovery journal failed, once the handler that met it has finished.
    static constexpr UINT kJournalFailedMessage = WM_USER + 2;

    TForm1(Application& application, std::filesystem::path exeDir);
    ~TForm1() override;

    // Shows the window centred on the desktop; the first showing posts the start-up load.
    void Show();

    // The replace dialog, created after this window.
    void AttachReplaceDialog(TForm2* dialog) { m_replaceDialog = dialog; }

    const MainState& State() const { return m_state; }
    const GameList& Games() const { return m_games; }
    ReplaceRuleList& ReplaceRules() override { return m_state.replaceRules; }
    const TextCodec& Codec() const override { return *m_codec; }
    // The journal of this run's unsaved edits ("kanaroll.journal" beside the program).
    const RecoveryJournal& Journal() const { return m_journal; }
    // MAME's run that makes listinfo.txt, while one runs; for the benchmark that times what comes
    // after the end of its output.
    const MameListXml* CatalogueRun() const { return m_listXml.get(); }

    struct Controls {
        HWND ListView1 = nullptr;
        HWND ListView2 = nullptr;
        HWND StatusBar1 = nullptr;
        HWND Splitter1 = nullptr;
        HWND Panel2 = nullptr;
        HWND GroupBox1 = nullptr;
        HWND GroupBox2 = nullptr;
        HWND Edit1 = nullptr;
        HWND Edit2 = nullptr;
        HWND Edit3 = nullptr;
        HWND Edit4 = nullptr;
        HWND Memo1 = nullptr;
        HWND Memo2 = nullptr;
        HWND Button1 = nullptr;
        HWND Button2 = nullptr;
        HWND Button3 = nullptr;
        HWND RadioButton1 = nullptr;
        HWND RadioButton2 = nullptr;
        HWND RadioButton3 = nullptr;
        HWND BitBtn1 = nullptr;
        HWND TitleProposal = nullptr;  // the proposed title, in grey below the reading field
        HMENU PopupMenu1 = nullptr;
    };
    const Controls& Ui() const { return m_ui; }
    HWND HeaderHandle() const { return headerHandle; }

    // Title rewrite by the replace rules, for F3, the popup menu and the replace dialog.
    bool ApplyReplaceRules() override;
    // The replace dialog has closed: the focus goes to the Japanese-title field.
    void ReturnFocus() override { FocusJapaneseName(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Life cycle and status bar (TForm1.cpp).
    void FormCreate();
    void FormShow();
    void StartupLoad();
    bool FormClose();
    void FormDestroy();
    void SetStatusText(int panel, std::string_view utf8) override;
    void SetStatus(int panel, std::wstring_view text);
    void ShowTotals();
    void OnCommand(int id, int code, HWND control) override;
    LRESULT OnNotify(NMHDR& header) override;
    void OnContextMenu(HWND control, LPARAM position);
    void ProcessPendingMessages() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // Controls (TForm1Layout.cpp).
    void CreateControls();
    void CreateLowerPane();
    void CreatePopupMenu1();
    void ApplyScale(std::optional<DpiScale> previous = std::nullopt);
    void LoadIcons();
    void PlaceLowerPane();
    void OnDpiChanged(const dpi::Change& change);
    void LayoutClient();
    void OnSplitterMoved(int panelHeight);
    void MinimumTrackSize(MINMAXINFO& info) const;
    std::wstring ToWide(std::string_view text) const;
    std::string FromWide(std::wstring_view text) const;

    // The game list (TForm1GameList.cpp).
    void ListView1Data(NMLVDISPINFOW& request) const;
    int ListView1DataFind(const NMLVFINDITEMW& request) const;
    void ListView1ColumnClick(int column);
    void FocusJapaneseName();
    bool TypeAhead(wchar_t key);
    void SelectGameRow(HWND list, int row);
    // The game list's selected row, which is the current game's; -1 when none.
    int CurrentRow() const;

    // The sort indicator (TForm1SortHeader.cpp).
    void InstallHeaderHooks();
    static LRESULT ListView1HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self);
    static LRESULT HeaderHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self);
    LRESULT ListView1Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HeaderDrawItem(HWND list, WPARAM wParam, LPARAM lParam);
    void SetHeaderOwnerDraw(int column, bool ownerDrawn);
    bool DrawSortHeader(const DRAWITEMSTRUCT& item);  // true when it drew
    void DrawHeaderCaption(HDC dc, RECT bounds, bool pressed);
    void DrawSortArrow(HDC dc, RECT arrowCell, int clipWidth);

    // Detail panel, family list and editing (TForm1Details.cpp).
    void ListView1SelectItem(int item, bool selected);
    void ListView2SelectItem(int item, bool selected);
    void Edit1Change();
    void Edit2Change();
    void Edit1Enter();
    void Edit1Exit();
    void Button1Click();
    void Button2Click();
    void Edit2DblClick();
    // Hooks Edit1, Edit2, Edit3 and ListView2 for their keys and limits Edit1 and Edit2 to 255
    // bytes in the codec's code page; run again when the codec changes.
    void InstallFieldHooks();
    // Edit1's entry selection: from the start up to the first " (", or the whole text.
    void ApplyJapaneseNameSelection();
    void RebuildFamilyList(const std::string& familyKey);
    void SelectInFamilyList(const std::string& zipName);
    void SetFamilyCell(int subItem, std::wstring_view text);
    // A click on either list moves the focus into the list before the list acts on it.
    void FocusListBeforeClick(HWND list, UINT message);
    static LRESULT FieldHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, void* self);
    LRESULT FieldMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The catalogue's codec (TForm1Encoding.cpp): UTF-8 for a name list kept in UTF-8, which the
    // list's first bytes tell before listinfo.txt is read; kanaroll.ini stays Shift-JIS.
    void ChooseCodec(const NameListChoice* nameList);
    void UseCodec(const TextCodec& codec);
    void WriteSettings();

    // Saving (TForm1Saving.cpp).
    void N3Click();
    void BitBtn1Click();
    void WriteMame32J(const std::filesystem::path& path);
    void WriteMane32J(const std::filesystem::path& path);
    void WriteMameUiList(const std::filesystem::path& path);
    // Runs the checks of a save over the lines of the list for MAME's UI and shows what they found
    // in one box. False when the user goes back: the first game concerned is then selected.
    bool ConfirmMameUiList();

    // Replacing (TForm1Replace.cpp).
    void N1Click();
    void Button3Click();

    // Making listinfo.txt with MAME (TForm1Catalogue.cpp). While MAME runs the window is disabled
    // and a progress window offers to stop it.
    bool MameKnown() const;
    // At start-up without listinfo.txt: asks whether to make it with the known MAME; false when
    // there is none, the user declines or MAME cannot start.
    bool OfferListInfoFromMame();
    void RemakeCatalogueClick();
    bool StartListXml(bool atStartup);
    void ListXmlNotified();
    void EndProgress();
    void LoadNewCatalogue();

    // The recovery journal (TForm1Journal.cpp). OpenJournal runs at start-up, once the catalogue
    // and the name list are loaded: it offers back what a journal left behind holds and returns the
    // first restored game, or -1.
    int OpenJournal(const std::filesystem::path& nameList);
    int RestoreFromJournal(const RecoveryPlan& plan, std::uint32_t journalCodePage);
    void StartJournal(const std::function<void()>& start);
    void JournalEdit(const TRecordset& game, EditedField field);  // after every stored edit
    void FlushJournal();  // when the current game changes and before every dialog
    void EmptyJournal(const std::filesystem::path& written);  // mame32j.lst beside the program written
    void EndJournal();                                        // the user ends the program
    // The catalogue was made anew after the user saved or dropped the edits: nothing to recover.
    void RestartJournal(const std::filesystem::path& nameList);
    void JournalFailed(const IoError& error);
    void ShowJournalFailure();

    // Launching MAME (TForm1Launch.cpp).
    void PopExecuteClick();
    void MAME1Click();
    void LaunchMame(const std::string& zipName);
    void RefreshLaunchEntry(const TRecordset& game);

    // The About box (TForm1About.cpp).
    void AboutClick();

    // Proposals (TForm1Proposals.cpp). The engine learns once the name list is merged; the selected
    // game's proposals are shown without being stored until F4 takes them.
    void LearnProposals();
    void ShowProposals(const TRecordset& game);
    void ShowReadingProposal(std::string reading);
    void FollowTypedTitle(const TRecordset& game);
    enum class ProposalPart { Title, Reading, Both };
    void TakeProposal(ProposalPart part);
    // The next untranslated game after the current row (or before it), wrapping round; false with
    // the message in status panel 3 when every game is translated.
    bool SelectUntranslated(bool forward);
    void GoToUntranslated(bool forward);

    // Keys (TForm1Keys.cpp, which lists them all). KeyMessage takes a hooked control's message
    // when it is a key the window answers, and gives the message's result; the handlers return
    // true when they handled the key.
    std::optional<LRESULT> KeyMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DialogCode(HWND control, WPARAM wParam, LPARAM lParam);
    bool KeyDown(HWND control, WPARAM key, bool withAlt);
    bool KeyPress(HWND control, wchar_t key);
    bool ListView1KeyPress(wchar_t key);
    bool Edit1KeyDown(WPARAM key);
    bool Edit2KeyDown(WPARAM key);
    bool Edit3KeyDown(WPARAM key);
    bool ListShortcut(WPARAM key);
    bool FieldShortcut(HWND control, WPARAM key);
    bool ProposalKey(HWND control, WPARAM key);

    Application& m_application;
    Services& m_services;
    MainState m_state;
    GameList m_games;
    FamilyIndex m_families;  // of m_games in its current order
    const TextCodec* m_codec = &ShiftJisCodec();
    LoadedNameList m_nameList;  // the name list read at start: its format and the lines no game took
    RecoveryJournal m_journal;
    JournalIdentity m_journalIdentity;  // the catalogue, the name list and the code page it is for
    // The journal's place holds nothing this run must keep: the journal may be written over there,
    // and deleted at the end. False until start-up has dealt with what it found there.
    bool m_journalMayReplace = false;
    bool m_journalFailureTold = false;
    std::wstring m_journalFailure;                // the failure to tell, until kJournalFailedMessage comes
    std::unique_ptr<ProposalEngine> m_proposals;  // learned from m_games; none before the load
    std::string m_titleProposal;                  // the current game's, in the codec's bytes; empty when none
    std::string m_readingProposal;                // for the current title as it stands

    Controls m_ui;
    DpiScale m_scale;  // the window's dpi, which every size of the layout is scaled by
    std::unique_ptr<ContainerWindow> m_panel2;
    std::unique_ptr<ContainerWindow> m_groupBox1;
    std::unique_ptr<ContainerWindow> m_groupBox2;
    std::unique_ptr<Splitter> m_splitter;
    UniqueFont m_font;
    UniqueFont m_boldFont;
    UniqueImageList m_imageList;
    UniqueMenu m_popupMenu;
    std::vector<UniqueIcon> m_icons;
    int m_panelHeight = 285;  // in pixels at the window's dpi
    bool m_shown = false;
    bool m_menuAttached = false;
    bool m_mouseFocusing = false;     // a click is giving a field the focus
    bool m_keepSettingsFile = false;  // kanaroll.ini could not be read: do not write over it
    TForm2* m_replaceDialog = nullptr;
    std::unique_ptr<MameListXml> m_listXml;  // MAME making listinfo.txt, while it runs
    std::unique_ptr<ProgressWindow> m_progress;
    bool m_listXmlAtStartup = false;
    std::vector<std::unique_ptr<WaitCursor>> m_waitCursors;

    // The game list's header, which shows the sort indicator.
    HWND headerHandle = nullptr;

    // Typed characters of the game list's incremental search.
    TypeAheadBuffer m_typeAhead;
};

}  // namespace kanaroll
