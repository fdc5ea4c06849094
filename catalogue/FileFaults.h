#pragma once

#include <filesystem>
#include <functional>

// A way for tests to make the file layer fail at a chosen step, as a full disk, a read-only folder
// or a file locked by another program would. The program never sets it; unset, every step does
// what it does without it, at the cost of one test of an empty function.
namespace kanaroll {

enum class FileStep {
    OpenForReading,
    Read,
    Create,  // the temporary file beside the target
    Write,   // one block of bytes into it
    Flush,   // the C library's buffer into the system
    Sync,    // the system's buffer onto the disk
    Close,
    Rename,            // the temporary file in place of the target
    RemoveTemporary,   // cleaning up after a failure; a fault leaves the temporary file behind
    OpenForAppending,  // a file that grows at its end, such as the recovery journal
    Remove,            // a file removed on purpose
};

// Called before each step with the file it works on. A nonzero answer is the errno value that the
// step then fails with, as if the system had answered so; zero lets the step run. A hook may also
// block, to let a test kill the process in the middle of a write.
using FileFaultHook = std::function<int(FileStep step, const std::filesystem::path& file)>;

// For tests only. Set it while no file is open; an empty hook removes it.
void SetFileFaultHook(FileFaultHook hook);

// The errno value that the hook gives for this step, 0 when there is none.
int InjectedFileFault(FileStep step, const std::filesystem::path& file);

}  // namespace kanaroll
