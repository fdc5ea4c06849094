#include "catalogue/IoError.h"

#include <cerrno>

namespace kanaroll {

IoError::IoError(int number) : std::runtime_error(MessageFor(number)), m_number(number) {}

std::string IoError::MessageFor(int number) {
    switch (number) {
        case io::kFileNotFound:
            return "ファイルが見つかりません";
        case io::kPathNotFound:
            return "ファイル名の指定が間違っています";
        case io::kTooManyOpenFiles:
            return "オープンしたファイルが多すぎます";
        case io::kAccessDenied:
            return "ファイルへのアクセスが拒否されました";
        case io::kReadPastEnd:
            return "ファイルの末尾以降を読み込みました";
        case io::kDiskFull:
            return "ディスクがいっぱいです";
        case io::kNotANumber:
            return "入力値が数値ではありません";
        default:
            return "I/O エラー (" + std::to_string(number) + ")";
    }
}

// The C library's numbers differ between systems, so they are matched by name. A failure the table
// has no entry for keeps its own number, moved above the table's: EIO is 5 on every system, and so
// is the access-denied entry.
IoError IoErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return IoError(io::kFileNotFound);
        case ENOTDIR:
        case ENAMETOOLONG:
#ifdef ELOOP
        case ELOOP:
#endif
            return IoError(io::kPathNotFound);
        case EMFILE:
        case ENFILE:
            return IoError(io::kTooManyOpenFiles);
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return IoError(io::kAccessDenied);
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG:
            return IoError(io::kDiskFull);
        default:
            return IoError(io::kCLibraryErrorBase + errnoValue);
    }
}

// Windows' own codes, as winerror.h numbers them; the portable core names only these.
IoError IoErrorFromWindowsError(unsigned long code) {
    switch (code) {
        case 2:  // ERROR_FILE_NOT_FOUND
            return IoError(io::kFileNotFound);
        case 3:    // ERROR_PATH_NOT_FOUND
        case 15:   // ERROR_INVALID_DRIVE
        case 53:   // ERROR_BAD_NETPATH
        case 67:   // ERROR_BAD_NET_NAME
        case 123:  // ERROR_INVALID_NAME
        case 161:  // ERROR_BAD_PATHNAME
        case 206:  // ERROR_FILENAME_EXCED_RANGE
        case 267:  // ERROR_DIRECTORY
            return IoError(io::kPathNotFound);
        case 4:  // ERROR_TOO_MANY_OPEN_FILES
            return IoError(io::kTooManyOpenFiles);
        case 5:   // ERROR_ACCESS_DENIED
        case 19:  // ERROR_WRITE_PROTECT
        case 32:  // ERROR_SHARING_VIOLATION
        case 33:  // ERROR_LOCK_VIOLATION
        case 65:  // ERROR_NETWORK_ACCESS_DENIED
            return IoError(io::kAccessDenied);
        case 38:  // ERROR_HANDLE_EOF
            return IoError(io::kReadPastEnd);
        case 39:    // ERROR_HANDLE_DISK_FULL
        case 112:   // ERROR_DISK_FULL
        case 1295:  // ERROR_DISK_QUOTA_EXCEEDED
            return IoError(io::kDiskFull);
        default:
            // The codes stay below 16,000; a larger value (an HRESULT) keeps its low 16 bits, which
            // hold its Windows code.
            return IoError(io::kWindowsErrorBase + static_cast<int>(code & 0xFFFF));
    }
}

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error("'" + std::string(text) + "' は整数ではありません") {}

std::string ErrorBoxText(std::string_view message) {
    std::string text(message);
    if (!text.empty() && static_cast<unsigned char>(text.back()) > 0x2E) text += '.';
    return text;
}

}  // namespace kanaroll
