#pragma once

// Linux only: a real small disk, for tests of what a full or read-only disk does to a write.
#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/mount.h>

namespace kanaroll::testing {

// A tmpfs of `size` (256 KiB unless told), mounted for the test's lifetime where the machine allows
// it (root, or a container that permits mounts); the injected faults of the file layer cover the
// rest.
class TinyDisk {
public:
    explicit TinyDisk(const std::filesystem::path& where, const std::string& size = "256k") : m_path(where) {
        std::filesystem::create_directory(m_path);
        const std::string options = "size=" + size;
        m_mounted = mount("tmpfs", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
        m_error = errno;
    }
    ~TinyDisk() {
        if (m_mounted) umount2(m_path.c_str(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    int Error() const { return m_error; }

    // Mounts the disk again read-only, with what it holds; false when the system refuses.
    bool MakeReadOnly() {
        return m_mounted && mount("tmpfs", m_path.c_str(), "tmpfs",
                                  MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

private:
    std::filesystem::path m_path;
    bool m_mounted = false;
    int m_error = 0;
};

}  // namespace kanaroll::testing
