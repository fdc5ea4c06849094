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

IoError IoErrorFromErrno(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return IoError(io::kFileNotFound);
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
            return IoError(io::kPathNotFound);
        case EMFILE:
        case ENFILE:
            return IoError(io::kTooManyOpenFiles);
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case EBUSY:
            return IoError(io::kAccessDenied);
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
        case EFBIG:
            return IoError(io::kDiskFull);
        default:
            return IoError(errnoValue);
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
