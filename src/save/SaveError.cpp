// Texts of the save files' input/output errors.
#include "save/SaveError.h"

#include <cerrno>

namespace quillon {

std::string InOutErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorNumber);
    }
}

}  // namespace quillon
