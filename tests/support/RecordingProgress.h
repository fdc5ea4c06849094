#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/LoadProgress.h"

namespace kanaroll::testing {

// Records what a reader asks of the window, in order: "text<panel>:<text>", "pump", "wait" and
// "restore".
class RecordingProgress : public LoadProgress {
public:
    void SetStatusText(int panel, std::string_view text) override {
        calls.push_back("text" + std::to_string(panel) + ":" + std::string(text));
    }
    void ProcessPendingMessages() override { calls.push_back("pump"); }
    void BeginWaitCursor() override { calls.push_back("wait"); }
    void EndWaitCursor() override { calls.push_back("restore"); }
    std::vector<std::string> calls;
};

}  // namespace kanaroll::testing
