#pragma once

#include <string_view>

namespace kanaroll {

// What a long load shows the user, supplied by the window: status texts, one pass of pending
// window messages so that a text is painted, and the wait cursor.
class LoadProgress {
public:
    virtual ~LoadProgress() = default;
    // Sets a panel of the status bar (texts are UTF-8).
    virtual void SetStatusText(int panel, std::string_view text) = 0;
    virtual void ProcessPendingMessages() = 0;
    // Remembers the cursor in force and shows the hourglass; EndWaitCursor restores it.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// A LoadProgress that shows nothing.
class NoLoadProgress final : public LoadProgress {
public:
    void SetStatusText(int, std::string_view) override {}
    void ProcessPendingMessages() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

// Shows the wait cursor for its lifetime.
class LoadWaitCursor {
public:
    explicit LoadWaitCursor(LoadProgress& progress) : m_progress(progress) { m_progress.BeginWaitCursor(); }
    ~LoadWaitCursor() { m_progress.EndWaitCursor(); }
    LoadWaitCursor(const LoadWaitCursor&) = delete;
    LoadWaitCursor& operator=(const LoadWaitCursor&) = delete;

private:
    LoadProgress& m_progress;
};

}  // namespace kanaroll
