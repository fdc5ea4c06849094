#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/FileFaults.h"

namespace kanaroll::testing {

// Makes the file layer fail for its lifetime, as a full disk, a read-only folder or a locked file
// would: for each fault, the `occurrence`th time (from 1) that its step runs on a file whose name
// contains `nameContains` (any file when empty) fails with the errno value `error`. Every step on
// such a file is counted, and `onStep` (when given) runs before each, for a test that must block
// there.
class FileFaultInjection {
public:
    struct Fault {
        FileStep step = FileStep::Create;
        int occurrence = 1;
        int error = 0;  // 0: only count
        std::string nameContains;
    };

    explicit FileFaultInjection(std::vector<Fault> faults,
                                std::function<void(FileStep, int count)> onStep = {})
        : m_faults(std::move(faults)), m_onStep(std::move(onStep)) {
        SetFileFaultHook(
            [this](FileStep step, const std::filesystem::path& file) { return Answer(step, file); });
    }
    explicit FileFaultInjection(Fault fault) : FileFaultInjection(std::vector<Fault>{std::move(fault)}) {}
    ~FileFaultInjection() { SetFileFaultHook(nullptr); }
    FileFaultInjection(const FileFaultInjection&) = delete;
    FileFaultInjection& operator=(const FileFaultInjection&) = delete;

    // How often a step ran on a file that one of the faults names.
    int Count(FileStep step) const { return m_counts[static_cast<std::size_t>(step)]; }
    // How many of the faults happened.
    int Fired() const { return m_fired; }

private:
    static constexpr std::size_t kSteps = static_cast<std::size_t>(FileStep::Remove) + 1;

    static bool Names(const Fault& fault, const std::filesystem::path& file) {
        const std::u8string name = file.filename().u8string();
        return fault.nameContains.empty() ||
               std::string(name.begin(), name.end()).find(fault.nameContains) != std::string::npos;
    }

    int Answer(FileStep step, const std::filesystem::path& file) {
        bool named = false;
        for (const Fault& fault : m_faults) named = named || Names(fault, file);
        if (!named) return 0;
        const int count = ++m_counts[static_cast<std::size_t>(step)];
        if (m_onStep) m_onStep(step, count);
        for (const Fault& fault : m_faults) {
            if (fault.error != 0 && fault.step == step && fault.occurrence == count && Names(fault, file)) {
                ++m_fired;
                return fault.error;
            }
        }
        return 0;
    }

    std::vector<Fault> m_faults;
    std::function<void(FileStep, int)> m_onStep;
    std::array<int, kSteps> m_counts{};
    int m_fired = 0;
};

inline const char* StepName(FileStep step) {
    switch (step) {
        case FileStep::OpenForReading:
            return "OpenForReading";
        case FileStep::Read:
            return "Read";
        case FileStep::Create:
            return "Create";
        case FileStep::Write:
            return "Write";
        case FileStep::Flush:
            return "Flush";
        case FileStep::Sync:
            return "Sync";
        case FileStep::Close:
            return "Close";
        case FileStep::Rename:
            return "Rename";
        case FileStep::RemoveTemporary:
            return "RemoveTemporary";
        case FileStep::OpenForAppending:
            return "OpenForAppending";
        case FileStep::Remove:
            return "Remove";
    }
    return "?";
}

}  // namespace kanaroll::testing
