#include "platform/MameListXml.h"

#include "catalogue/IoError.h"
#include "catalogue/TextFile.h"

namespace kanaroll {

MameListXml::MameListXml(const std::filesystem::path& mamePath, const std::filesystem::path& listInfo,
                         std::function<void()> notify, std::uint64_t limit)
    : m_notify(std::move(notify)), m_capture(listInfo, limit) {
    // Before the system is asked, which would blame the working directory of a MAME that is gone.
    if (!FileExists(mamePath)) throw IoError(io::kFileNotFound);
    m_process.emplace(
        mamePath, std::vector<std::wstring>{L"-listxml"}, mamePath.parent_path(),
        [this](std::string_view bytes) { return m_capture.Take(bytes); },
        [this](bool ended) { Notify(ended); });
}

void MameListXml::Notify(bool ended) {
    // The end always comes; progress only when the window has taken the last.
    if (ended || !m_progressWaiting.exchange(true)) m_notify();
}

std::uint64_t MameListXml::TakeProgress() {
    m_progressWaiting.store(false);
    return m_capture.Received();
}

ListXmlVerdict MameListXml::Finish() {
    return m_capture.Judge(m_process->Wait());
}

std::function<void()> PostingNotify(HWND window, UINT message) {
    return [window, message] { PostMessageW(window, message, 0, 0); };
}

}  // namespace kanaroll
