#include "catalogue/FileFaults.h"

#include <utility>

namespace kanaroll {

namespace {
FileFaultHook& Hook() {
    static FileFaultHook hook;
    return hook;
}
}  // namespace

void SetFileFaultHook(FileFaultHook hook) {
    Hook() = std::move(hook);
}

int InjectedFileFault(FileStep step, const std::filesystem::path& file) {
    const FileFaultHook& hook = Hook();
    return hook ? hook(step, file) : 0;
}

}  // namespace kanaroll
