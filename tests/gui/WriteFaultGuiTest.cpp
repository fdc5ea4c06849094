// Every way the windows write a file, failing at every step: a read-only folder, a full disk, a
// target held by another program. After each the user sees the error box with the message of the
// error table, the edits still count as unsaved, the cursor is the normal one, and the previous
// mame32j.lst or kanaroll.ini is on the disk byte for byte with no temporary file beside it.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mainwindow/ControlIds.h"
#include "platform/WaitCursor.h"
#include "tests/gui/HelperProcess.h"
#include "tests/gui/MainWindowFixture.h"
#include "tests/support/FileFaultInjection.h"
#include "tests/support/ReadOnlyFolder.h"

namespace kanaroll::testing {
namespace {

struct GuiFault {
    FileStep step;
    int error;
    const wchar_t* box;
};

// A folder that refuses new files; a disk that fills up while the file is written, flushed,
// synced; a close that fails with a number the table has no text for (no full stop then: the text
// ends in a parenthesis); a disk that fails (EIO, which is 5 as the access-denied number is, and
// must not read as a refusal); a target that another program holds open, so that it cannot be
// replaced.
const GuiFault kFaults[] = {
    {FileStep::Create, EACCES, L"ファイルへのアクセスが拒否されました."},
    {FileStep::Write, ENOSPC, L"ディスクがいっぱいです."},
    {FileStep::Flush, ENOSPC, L"ディスクがいっぱいです."},
    {FileStep::Sync, ENOSPC, L"ディスクがいっぱいです."},
    {FileStep::Close, EMLINK, L"I/O エラー (1031)"},
    {FileStep::Write, EIO, L"I/O エラー (1005)"},
    {FileStep::Rename, EACCES, L"ファイルへのアクセスが拒否されました."},
};

const std::string kPreviousList = "galaga\t" + Sjis("ギャラガ") + "\t" + Sjis("ぎゃらが") + "\tNamco\r\n";
const std::string kPreviousSettings = "MAMEPath:=\r\nReplaceText:=Japan\t" + Sjis("日本版") + "\tP\r\n";

class WriteFaultGuiTest : public MainWindowTest {
protected:
    void SetUp() override {
        WriteListInfo(
            {{.zip = "pacman", .description = "Pac-Man"}, {.zip = "galaga", .description = "Galaga"}});
        folder.Write("mame32j.lst", kPreviousList);
        folder.Write("kanaroll.ini", kPreviousSettings);
    }

    // Starts and types a reading for Pac-Man, the first game.
    void StartAndEdit() {
        Start();
        Focus(Ui().Edit2);
        Type(L"ぱっくまん");
        ASSERT_TRUE(State().modified);
    }

    std::unique_ptr<FileFaultInjection> Inject(const GuiFault& fault, const char* fileName) {
        return std::make_unique<FileFaultInjection>(
            FileFaultInjection::Fault{fault.step, 1, fault.error, fileName});
    }

    void ExpectNormalCursor() const {
        EXPECT_FALSE(WaitCursor::IsShown());
        EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }

    // One more box, the error box with this text.
    void ExpectErrorBox(std::size_t boxesBefore, const std::wstring& text) const {
        ASSERT_EQ(services.messageBoxes.size(), boxesBefore + 1);
        const auto& box = services.messageBoxes.back();
        EXPECT_EQ(box.caption, L"Kanaroll");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(box.type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    }

    // The file as it was, and nothing of the failed write beside it.
    void ExpectUntouched(const std::string& name, const std::string& previous) const {
        EXPECT_EQ(folder.Read(name), previous);
        EXPECT_FALSE(std::filesystem::exists(folder / (name + ".kanaroll-new")));
    }

    void ExpectStillUnsaved() const {
        EXPECT_TRUE(State().modified);
        EXPECT_EQ(Status(2), L"変更あり");
        ExpectNormalCursor();
    }

    void Close() {
        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        Pump();
    }
    std::filesystem::path MakeExecutable() {
        std::filesystem::create_directories(folder / "mame");
        std::ofstream(folder / "mame" / "mame.exe", std::ios::binary) << "MZ";
        return folder / "mame" / "mame.exe";
    }
};

TEST_F(WriteFaultGuiTest, QuickSave) {
    StartAndEdit();
    for (const GuiFault& fault : kFaults) {
        SCOPED_TRACE(StepName(fault.step));
        const std::size_t boxes = services.messageBoxes.size();
        {
            const auto injection = Inject(fault, "mame32j.lst");
            Focus(Ui().ListView1);
            PressCtrlS();
        }
        ExpectErrorBox(boxes, fault.box);
        ExpectStillUnsaved();
        EXPECT_EQ(Status(3), L"");  // no "saved" report
        ExpectUntouched("mame32j.lst", kPreviousList);
    }
    PressCtrlS();
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(Status(3), L"mame32j.lstに保存しました");
    EXPECT_EQ(FileText("mame32j.lst"),
              L"pacman\tPac-Man\tぱっくまん\tNamco\r\ngalaga\tギャラガ\tぎゃらが\tNamco\r\n");
}

TEST_F(WriteFaultGuiTest, SavingOnClose) {
    StartAndEdit();
    for (const GuiFault& fault : kFaults) {
        SCOPED_TRACE(StepName(fault.step));
        const std::size_t boxes = services.messageBoxes.size();
        services.messageBoxAnswers.push_back(IDYES);
        {
            const auto injection = Inject(fault, "mame32j.lst");
            Close();
        }
        ExpectErrorBox(boxes + 1, fault.box);  // after the question
        EXPECT_FALSE(app->Terminated());
        EXPECT_TRUE(IsWindowVisible(form->Handle()));
        ExpectStillUnsaved();
        ExpectUntouched("mame32j.lst", kPreviousList);
    }
    services.messageBoxAnswers.push_back(IDYES);
    Close();
    EXPECT_TRUE(app->Terminated());
    EXPECT_FALSE(State().modified);
}

TEST_F(WriteFaultGuiTest, OutputInEitherFormat) {
    folder.Write("chosen.lst", kPreviousList);
    StartAndEdit();
    for (HWND format : {Ui().RadioButton1, Ui().RadioButton2}) {
        Click(format);
        for (const GuiFault& fault : kFaults) {
            SCOPED_TRACE(StepName(fault.step));
            const std::size_t boxes = services.messageBoxes.size();
            services.fileDialogAnswers.push_back((folder / "chosen.lst").wstring());
            {
                const auto injection = Inject(fault, "chosen.lst");
                Click(Ui().BitBtn1);
            }
            ExpectErrorBox(boxes, fault.box);
            ExpectStillUnsaved();
            ExpectUntouched("chosen.lst", kPreviousList);
        }
    }
    services.fileDialogAnswers.push_back((folder / "chosen.lst").wstring());
    Click(Ui().BitBtn1);
    EXPECT_FALSE(State().modified);
    EXPECT_EQ(folder.Read("chosen.lst").substr(0, 7), "pacman\t");
}

// kanaroll.ini at the end of the run: the window goes, the error is shown, the old file stays.
TEST_F(WriteFaultGuiTest, SettingsAtTheEnd) {
    for (const GuiFault& fault : kFaults) {
        SCOPED_TRACE(StepName(fault.step));
        Start();
        const std::size_t boxes = services.messageBoxes.size();
        {
            const auto injection = Inject(fault, "kanaroll.ini");
            // The end of the run, with a rule list that differs from the file's.
            form->ReplaceRules().clear();
            Destroy();
        }
        ExpectErrorBox(boxes, fault.box);
        ExpectNormalCursor();
        ExpectUntouched("kanaroll.ini", kPreviousSettings);
    }
}

// The end of the program as its entry point ends it: the main window closes in the event loop,
// the loop returns, and then the windows are destroyed, which writes kanaroll.ini. However that
// write fails (a folder in the file's place, a read-only folder, a fault at any step), the real
// error box is shown and stays up until it is answered.
TEST_F(WriteFaultGuiTest, SettingsAtTheEndOfTheProgramAreReportedInABoxThatWaitsForTheUser) {
    services.realMessageBoxes = true;
    struct Way {
        const char* name;
        const GuiFault* fault;  // or a folder in the way
        bool readOnlyFolder;
    };
    std::vector<Way> ways{{"a folder named kanaroll.ini", nullptr, false},
                          {"a read-only folder", nullptr, true}};
    for (const GuiFault& fault : kFaults) ways.push_back({StepName(fault.step), &fault, false});

    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        Start();
        form->ReplaceRules().clear();  // so that the file must be written anew
        const std::size_t boxes = services.messageBoxes.size();
        std::unique_ptr<FileFaultInjection> injection;
        std::unique_ptr<ReadOnlyFolder> readOnly;
        if (way.fault) {
            injection = Inject(*way.fault, "kanaroll.ini");
        } else if (way.readOnlyFolder) {
            readOnly = std::make_unique<ReadOnlyFolder>(folder.Path());
            if (!readOnly->Made()) {
                ADD_FAILURE() << "the folder could not be made read-only";
                Destroy();
                continue;
            }
        } else {
            std::filesystem::remove(folder / "kanaroll.ini");
            std::filesystem::create_directory(folder / "kanaroll.ini");
        }

        PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
        app->Run();
        Destroy();
        injection.reset();
        readOnly.reset();
        // A box ended by a quit message posts it again: it must not end the next start.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }

        const std::wstring text = way.fault ? way.fault->box : L"ファイルへのアクセスが拒否されました.";
        ExpectErrorBox(boxes, text);
        if (services.messageBoxes.size() > boxes) {
            EXPECT_TRUE(services.messageBoxes.back().answeredOnScreen);
        }
        ExpectNormalCursor();
        if (way.fault || way.readOnlyFolder) {
            ExpectUntouched("kanaroll.ini", kPreviousSettings);
        } else {
            std::filesystem::remove_all(folder / "kanaroll.ini");
            folder.Write("kanaroll.ini", kPreviousSettings);
        }
    }
}

// kanaroll.ini right after the MAME executable is chosen: the path holds for the run all the same.
TEST_F(WriteFaultGuiTest, SettingsAfterChoosingMame) {
    const auto executable = MakeExecutable();
    Start();
    for (const GuiFault& fault : kFaults) {
        SCOPED_TRACE(StepName(fault.step));
        const std::size_t boxes = services.messageBoxes.size();
        services.fileDialogAnswers.push_back(executable.wstring());
        {
            const auto injection = Inject(fault, "kanaroll.ini");
            Choose(ids::kMAME1);
        }
        ExpectErrorBox(boxes, fault.box);
        ExpectNormalCursor();
        EXPECT_EQ(State().mamePath, FromWide(executable.wstring(), 932));
        ExpectUntouched("kanaroll.ini", kPreviousSettings);
    }
    Destroy();
    EXPECT_EQ(folder.Read("kanaroll.ini").substr(0, 10 + FromWide(executable.wstring(), 932).size()),
              "MAMEPath:=" + FromWide(executable.wstring(), 932));
}

// Another process holds the file open without sharing: neither the name list nor the settings
// can be replaced while it does, and both are whole afterwards.
TEST_F(WriteFaultGuiTest, FilesHeldByAnotherProcess) {
    StartAndEdit();
    {
        HelperProcess holder("HoldFileOpen", (folder / "mame32j.lst").wstring());
        ASSERT_TRUE(holder.WaitUntilReady());
        const std::size_t boxes = services.messageBoxes.size();
        Focus(Ui().ListView1);
        PressCtrlS();
        ExpectErrorBox(boxes, L"ファイルへのアクセスが拒否されました.");
        ExpectStillUnsaved();
    }
    ExpectUntouched("mame32j.lst", kPreviousList);
    {
        HelperProcess holder("HoldFileOpen", (folder / "kanaroll.ini").wstring());
        ASSERT_TRUE(holder.WaitUntilReady());
        const std::size_t boxes = services.messageBoxes.size();
        form->ReplaceRules().clear();
        services.messageBoxAnswers.push_back(IDNO);  // closing without saving the edits
        Close();
        Destroy();
        ExpectErrorBox(boxes + 1, L"ファイルへのアクセスが拒否されました.");
    }
    ExpectUntouched("kanaroll.ini", kPreviousSettings);
}

// A kanaroll.ini that cannot be read is reported, and then left alone: not written over at the end,
// nor when a MAME executable is chosen, whose path still holds for the run.
TEST_F(WriteFaultGuiTest, SettingsThatCannotBeReadAreNeverWrittenOver) {
    const auto executable = MakeExecutable();
    {
        const HANDLE held = CreateFileW((folder / "kanaroll.ini").c_str(), GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const UniqueHandle lock(held);
        Start();
    }
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[0].text, L"ファイルへのアクセスが拒否されました.");
    EXPECT_EQ(State().replaceRules.size(), 8u);  // the defaults stand in for the rules not read
    EXPECT_EQ(Status(0), L"合計：2件   未訳：1件");

    services.fileDialogAnswers.push_back(executable.wstring());
    Choose(ids::kMAME1);
    EXPECT_EQ(State().mamePath, FromWide(executable.wstring(), 932));
    Destroy();
    EXPECT_EQ(services.messageBoxes.size(), 1u);
    ExpectUntouched("kanaroll.ini", kPreviousSettings);
}

}  // namespace
}  // namespace kanaroll::testing
