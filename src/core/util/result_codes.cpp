#include "util/result_codes.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "util/format.h"

namespace vxl {

namespace {

struct CodeText {
    int code;
    const char* text;
};

// Every code the program itself defines has its text here; only the system's own error numbers
// (below 50) take the system's text.
constexpr CodeText kTexts[] = {
    {rc::kInterrupted, "The operation was interrupted by a signal."},
    {50, "Cancelled by the user."},
    {51, "Command to modem was unsuccessful."},
    {54, "The file is too large."},
    {55, "The modem uses a baud rate this program does not know."},
    {57, "No modem settings are loaded."},
    {58, "The address lies outside the modem's memory."},
    {59, "There is no such parameter."},
    {60, "This modem type has no memory layout for the parameter."},
    {61, "This is not supported for this modem."},
    {62, "A memory offset or length is out of range."},
    {63, "The parameter has no place in this modem's memory."},
    {64, "Not enough memory."},
    {65, "No memory image is loaded."},
    {67, "The modem sent fewer bytes than expected."},
    {71, "Only VXL modems (type 4) have this parameter."},
    {72, "This parameter is not available on this modem."},
    {73, "Cannot Read Memory Map."},
    {74, "Nothing was received from the modem."},
    {75, "No modem is attached."},
    {77, "Modem command timed out"},
    {78, "Channel table import failed"},
    {79, "Channel table export failed"},
    {80, "The serial number in this file does not match your modem serial number.."},
    {81, "Attempt to upgrade modem firmware failed."},
    {82, "Loader reports memory check failed"},
    {83, "Load command failed."},
    {84, "Failure during firmware download."},
    {85, "Request to write new firmware to EEPROM failed."},
    {86, "Validation of new firmware by loader failed."},
    {87, "Firmware file is corrupt."},
    {88, "Create firmware file failed"},
    {89,
     "The modem sent more bytes than expected: noise on the line or a stray byte disturbed the "
     "exchange."},
    {90, "The model ID for this modem is missing or corrupt."},
    {91, "The definitions file has no default for this parameter."},
    {92, "The value is not valid for this parameter."},
    {93, "The value is not one of this parameter's choices."},
    {94, "This parameter takes no default from the definitions file."},
    {96, "The model is not in the model table."},
    {97, "The channel in use cannot be cleared."},
    {98, "No serial port is configured."},
    {99, "The capture method is not known (1 soft break, 3 power-on capture)."},
    {100, "The command line is not valid."},
    {102, "No response to srecord from loader"},
    {103, "Already in Demo Mode"},
    {104, "Bad Model"},
    {105, "Bad Parameters"},
    {106, "Invalid Ini File Entry"},
    {107, "Modem Capture Failed"},
    {108, "Incorrect response from modem"},
    {109, "Bad ini File"},
    {110, "Problem Loading Modem"},
    {111, "Cannot Open INI File"},
    {113, "Bad Power Value"},
    {114, "Bad Modem Type"},
    {131, "Verification failed: the modem does not hold the settings written to it."},
    {132, "The modem's settings could not be backed up; nothing was written to the modem."},
    {133, "This backup does not belong to this modem."},
    {134, "The file is damaged or is not a backup of a modem's settings."},
    {135, "The file is damaged or is not a settings profile."},
    {136, "The channel plan cannot be imported; nothing was changed."},
    {137, "The channel table cannot be imported; nothing was changed."},
};

// Texts of the file errors by cause (code - 900).
constexpr const char* kFileTexts[] = {
    "",
    "An unspecified file error occurred.",
    "The file was not found.",
    "The path is invalid.",
    "Too many files are open.",
    "Access to the file was denied.",
    "The file handle is invalid.",
    "The current folder cannot be removed.",
    "The folder is full.",
    "A seek in the file failed.",
    "A hardware error occurred while reading or writing the file.",
    "The file is in use by another program.",
    "A region of the file is locked.",
    "The disk is full.",
    "The end of the file was reached before all data was read.",
};

const char* TableText(int code) {
    for (const CodeText& entry : kTexts) {
        if (entry.code == code) return entry.text;
    }
    return nullptr;
}

}  // namespace

int FileErrorFromErrno(int err) {
    switch (err) {
        case ENOENT:
            return rc::kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return rc::kFileBadPath;
        case EMFILE:
        case ENFILE:
            return rc::kFileTooManyOpen;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return rc::kFileAccessDenied;
        case EBADF:
            return rc::kFileInvalid;
        case EIO:
            return 910;
        case ETXTBSY:
        case EBUSY:
            return 911;
        case ENOSPC:
        case EDQUOT:
            return rc::kFileDiskFull;
        default:
            return rc::kFileGeneric;
    }
}

std::string ErrorText(int code, const std::string& response, bool withResponse) {
    code = std::abs(code);
    std::string text;
    if (const char* t = TableText(code)) {
        text = t;
    } else if (code >= 901 && code <= 914) {
        text = kFileTexts[code - 900];
    } else if (code > 0 && code < 50) {
        text = std::strerror(code);
    } else {
        text = Format("Error code %d", code);
    }
    if (withResponse && !response.empty())
        text = Format("%s\nResponse: %s<-", text.c_str(), response.c_str());
    return text;
}

std::string ErrorBoxCaption(int action) {
    switch (action) {
        case 78:
        case 79:
        case 81:
        case 88:
            return ErrorText(action);
        case 103:
            return "Demo Mode Failure";
        default:
            return "Error Occured";
    }
}

std::string ErrorBoxMessage(int code, const std::string& response) {
    int c = std::abs(code);
    bool plain = c == 51 || c == 73 || c == 77 || c == 78 || c == 80 || (c >= 83 && c <= 87) ||
                 (c >= 102 && c <= 104) || c == 109 || c == 113 || c == 114 ||
                 (c >= 131 && c <= 137) || (c >= 901 && c <= 914);
    if (plain) return ErrorText(c);
    // The system's own errors (a device that went away) say what happened and, in the
    // response, which device.
    if (c == 82 || c == 108 || c == 111 || (c > 0 && c < 50)) return ErrorText(c, response, true);
    // Codes once shown by their number alone keep it, with what it means.
    if (TableText(c) == nullptr) return Format("Error code %d", c);
    return Format("Error code %d: %s", c, TableText(c));
}

}  // namespace vxl
