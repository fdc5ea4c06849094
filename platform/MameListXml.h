#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "catalogue/ListXmlCapture.h"
#include "platform/ChildProcess.h"

namespace kanaroll {

// Makes listinfo.txt with MAME: runs "MAME -listxml" in MAME's folder without a console window and
// captures its output beside listinfo.txt (ListXmlCapture) on a thread of its own. The window's
// thread is told through `notify` (PostingNotify(window, message) posts a message): at most one
// notification waits at a time while the output arrives, and one more comes when MAME has ended.
//
// The window, on each notification: if Ended(), takes Finish() and, for a good verdict, loads the
// catalogue from TemporaryFile() and only when that succeeds calls PutInPlace(); else it shows
// TakeProgress() (the bytes so far). Destroying the object stops MAME and removes the temporary
// file unless it was put in place.
class MameListXml {
public:
    // Throws IoError when the temporary file cannot be created or MAME cannot start.
    MameListXml(const std::filesystem::path& mamePath, const std::filesystem::path& listInfo,
                std::function<void()> notify, std::uint64_t limit = kMaxListXmlBytes);

    // The bytes received so far; lets the next notification about progress come.
    std::uint64_t TakeProgress();
    bool Ended() const { return m_process->Ended(); }
    // Stops MAME and whatever it started; the end is notified as usual.
    void Cancel() { m_process->Cancel(); }

    // When Ended() (it waits otherwise): the verdict on the output, the same at every call.
    ListXmlVerdict Finish();
    // Once Finish() was called: the end has been taken.
    bool Finished() const { return m_capture.Judged(); }
    const std::filesystem::path& TemporaryFile() const { return m_capture.TemporaryFile(); }
    // Puts a good output in place of listinfo.txt; throws IoError and leaves the previous file.
    void PutInPlace() { m_capture.PutInPlace(); }

private:
    void Notify(bool ended);

    std::function<void()> m_notify;
    std::atomic<bool> m_progressWaiting{false};
    ListXmlCapture m_capture;
    std::optional<ChildProcess> m_process;  // last: it goes first, and its thread with it
};

// A notification that posts `message` (wParam and lParam 0) to `window`.
std::function<void()> PostingNotify(HWND window, UINT message);

}  // namespace kanaroll
