// Making listinfo.txt with MAME, with FakeMame.exe (tests/helpers) in MAME's place: installed in a
// folder whose path has blanks and Japanese characters, started as MAME is, and told by the
// environment what to print and how to end.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>

#include "catalogue/GameList.h"
#include "catalogue/IoError.h"
#include "catalogue/ListInfoReader.h"
#include "catalogue/LoadProgress.h"
#include "platform/Handles.h"
#include "platform/MameListXml.h"
#include "tests/support/TempFolder.h"

namespace kanaroll {
namespace {

using testing::TempFolder;

const std::string kOld = "game (\n\tname old\n)\n";

std::string ListXml(int machines) {
    std::string xml =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n]>\n\n<mame "
        "build=\"0.251\">\n";
    for (int i = 0; i < machines; ++i) {
        xml += "\t<machine name=\"game" + std::to_string(i) + "\">\n\t\t<description>Game " +
               std::to_string(i) +
               "</description>\n\t\t<year>1980</year>\n\t\t<driver status=\"good\"/>\n\t</machine>\n";
    }
    return xml + "</mame>\n";
}

class MameListXmlTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t self[MAX_PATH * 2] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
        const auto folder = m_folder.Path() / L"MAME 0.251 マメ";
        std::filesystem::create_directories(folder);
        m_mame = folder / L"mame 64.exe";
        std::filesystem::copy_file(std::filesystem::path(self).parent_path() / L"FakeMame.exe", m_mame);
        m_programFolder = m_folder.Path() / L"かなろーる";
        std::filesystem::create_directories(m_programFolder);
        m_listInfo = m_programFolder / "listinfo.txt";
        std::ofstream(m_listInfo, std::ios::binary) << kOld;
        m_xml = m_folder.Write("output.xml", ListXml(200));
        m_notified.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    }
    void TearDown() override { SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", nullptr); }

    // Starts the fake MAME in `mode`, with "FILE" in it standing for the XML file.
    std::unique_ptr<MameListXml> Start(std::wstring mode, std::uint64_t limit = kMaxListXmlBytes) {
        for (auto at = mode.find(L"FILE"); at != std::wstring::npos; at = mode.find(L"FILE"))
            mode.replace(at, 4, m_xml.wstring());
        SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", mode.c_str());
        return std::make_unique<MameListXml>(
            m_mame, m_listInfo,
            [this] {
                ++m_notifications;
                SetEvent(m_notified.Get());
            },
            limit);
    }

    // Waits until the run has ended, at most `milliseconds`.
    bool WaitForEnd(MameListXml& run, DWORD milliseconds = 60000) {
        const ULONGLONG until = GetTickCount64() + milliseconds;
        while (!run.Ended()) {
            const ULONGLONG now = GetTickCount64();
            if (now >= until) return false;
            WaitForSingleObject(m_notified.Get(), static_cast<DWORD>(until - now));
            run.TakeProgress();
        }
        return true;
    }

    ListXmlVerdict RunToEnd(const std::wstring& mode, std::uint64_t limit = kMaxListXmlBytes) {
        auto run = Start(mode, limit);
        EXPECT_TRUE(WaitForEnd(*run));
        return run->Finish();
    }

    std::string ListInfo() const { return TempFolder::ReadFile(m_listInfo); }
    bool TemporaryLeft() const {
        return std::filesystem::exists(m_programFolder / "listinfo.txt.kanaroll-new");
    }

    TempFolder m_folder;
    std::filesystem::path m_mame;
    std::filesystem::path m_programFolder;
    std::filesystem::path m_listInfo;
    std::filesystem::path m_xml;
    UniqueHandle m_notified;
    std::atomic<int> m_notifications{0};
};

// The output is loaded from the temporary file before it replaces listinfo.txt.
TEST_F(MameListXmlTest, AWholeOutputIsLoadedAndThenPutInPlace) {
    auto run = Start(L"replay|FILE");
    ASSERT_TRUE(WaitForEnd(*run));
    const ListXmlVerdict verdict = run->Finish();
    ASSERT_TRUE(verdict.Good()) << verdict.Message();
    EXPECT_EQ(verdict.bytes, std::filesystem::file_size(m_xml));
    GameList games;
    NoLoadProgress progress;
    ASSERT_TRUE(ReadListInfo(run->TemporaryFile(), games, progress));
    EXPECT_EQ(games.Count(), 200);
    EXPECT_EQ(ListInfo(), kOld);
    run->PutInPlace();
    EXPECT_EQ(ListInfo(), TempFolder::ReadFile(m_xml));
    EXPECT_FALSE(TemporaryLeft());
}

// Malformed XML that ends as a whole output does is found by the load from the temporary file: the
// window then drops the run, and listinfo.txt stays.
TEST_F(MameListXmlTest, MalformedXmlIsFoundByTheLoadAndLeavesListInfoAsItWas) {
    std::string xml = ListXml(20);
    xml.insert(xml.find("</description>"), "</year>");
    m_xml = m_folder.Write("malformed.xml", xml);
    {
        auto run = Start(L"replay|FILE");
        ASSERT_TRUE(WaitForEnd(*run));
        ASSERT_TRUE(run->Finish().Good());
        GameList games;
        NoLoadProgress progress;
        EXPECT_FALSE(ReadListInfo(run->TemporaryFile(), games, progress));
    }
    EXPECT_EQ(ListInfo(), kOld);
    EXPECT_FALSE(TemporaryLeft());
}

TEST_F(MameListXmlTest, AFailingOrBrokenOutputLeavesListInfoAsItWas) {
    struct Case {
        const wchar_t* mode;
        ListXmlProblem problem;
    };
    const std::wstring nulFile =
        (m_folder.Write("with-a-nul-byte.xml", ListXml(3).insert(60, 1, '\0'))).wstring();
    for (const Case& c :
         {Case{L"fail|5|FILE", ListXmlProblem::MameFailed}, Case{L"halfway|FILE", ListXmlProblem::Truncated},
          Case{L"silent", ListXmlProblem::Empty}}) {
        SCOPED_TRACE(static_cast<int>(c.problem));
        const ListXmlVerdict verdict = RunToEnd(c.mode);
        EXPECT_EQ(verdict.problem, c.problem) << verdict.Message();
        EXPECT_EQ(ListInfo(), kOld);
        EXPECT_FALSE(TemporaryLeft());
    }
    EXPECT_EQ(RunToEnd(L"fail|5|FILE").exitCode, 5u);
    EXPECT_EQ(RunToEnd(L"replay|" + nulFile).problem, ListXmlProblem::NulByte);
    EXPECT_EQ(ListInfo(), kOld);
}

// An endless stream stops at the limit, and MAME with it.
TEST_F(MameListXmlTest, AnEndlessStreamStopsAtTheLimit) {
    const ListXmlVerdict verdict = RunToEnd(L"flood", 4 << 20);
    EXPECT_EQ(verdict.problem, ListXmlProblem::TooLarge);
    EXPECT_GT(verdict.bytes, 4u << 20);
    EXPECT_LE(verdict.bytes, 5u << 20);  // a read takes a megabyte at most
    EXPECT_EQ(ListInfo(), kOld);
    EXPECT_FALSE(TemporaryLeft());
}

// A MAME that printed everything but never exits waits for the user, who stops it.
TEST_F(MameListXmlTest, AMameThatNeverExitsEndsWithTheCancel) {
    auto run = Start(L"hang|FILE");
    EXPECT_FALSE(WaitForEnd(*run, 1500));
    EXPECT_EQ(run->TakeProgress(), std::filesystem::file_size(m_xml));
    run->Cancel();
    ASSERT_TRUE(WaitForEnd(*run, 30000));
    EXPECT_EQ(run->Finish().problem, ListXmlProblem::Cancelled);
    EXPECT_EQ(ListInfo(), kOld);
    EXPECT_FALSE(TemporaryLeft());
}

// What MAME started goes with it: here a program that holds MAME's output open after MAME ended.
TEST_F(MameListXmlTest, TheCancelStopsWhatMameStarted) {
    const auto pidFile = m_folder / "child.pid";
    auto run = Start(L"spawn|FILE|" + pidFile.wstring());
    EXPECT_FALSE(WaitForEnd(*run, 1500));  // the output stays open
    const DWORD child = std::stoul(TempFolder::ReadFile(pidFile));
    const UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, child));
    ASSERT_TRUE(process);
    run->Cancel();
    ASSERT_TRUE(WaitForEnd(*run, 30000));
    EXPECT_EQ(run->Finish().problem, ListXmlProblem::Cancelled);
    EXPECT_EQ(WaitForSingleObject(process.Get(), 10000), WAIT_OBJECT_0);
}

// The window hears of the output as it comes, by posted messages, and keeps handling its own.
TEST_F(MameListXmlTest, ProgressComesAsPostedMessagesWhileTheWindowRuns) {
    constexpr UINT kProgress = WM_APP + 18;
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetEnvironmentVariableW(L"KANAROLL_FAKE_MAME", (L"slow|" + m_xml.wstring() + L"|2048|15").c_str());
    MameListXml run(m_mame, m_listInfo, PostingNotify(window, kProgress));
    int progress = 0;
    std::uint64_t lastSeen = 0;
    bool growing = true;
    MSG message;
    const ULONGLONG until = GetTickCount64() + 60000;
    while (GetTickCount64() < until && GetMessageW(&message, nullptr, 0, 0)) {
        if (message.message != kProgress) {
            DispatchMessageW(&message);
            continue;
        }
        if (run.Ended()) break;
        ++progress;
        const std::uint64_t received = run.TakeProgress();
        growing = growing && received >= lastSeen;
        lastSeen = received;
    }
    ASSERT_TRUE(run.Ended());
    EXPECT_TRUE(run.Finish().Good());
    EXPECT_GT(progress, 3);
    EXPECT_TRUE(growing);
    DestroyWindow(window);
}

TEST_F(MameListXmlTest, AMameThatIsNotThereCannotStart) {
    try {
        MameListXml run(m_folder.Path() / L"none" / L"mame.exe", m_listInfo, [] {});
        FAIL() << "started";
    } catch (const IoError& error) {
        EXPECT_TRUE(error.Number() == io::kFileNotFound || error.Number() == io::kPathNotFound)
            << error.Number();
    }
    EXPECT_EQ(ListInfo(), kOld);
    EXPECT_FALSE(TemporaryLeft());
}

}  // namespace
}  // namespace kanaroll
