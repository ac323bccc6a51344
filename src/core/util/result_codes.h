// Result codes shared by every layer (0 = success) and the texts the operator is shown for them.
#pragma once

#include <string>

namespace vxl {
namespace rc {
constexpr int kOk = 0;
// Codes below 50 are the system's own errors (errno): a port that cannot be opened, a device
// that went away during a run, and this one for a run interrupted by a signal.
constexpr int kInterrupted = 4;  // EINTR
constexpr int kPowerOnCancelled = 50;
constexpr int kCommandUnsuccessful = 51;
constexpr int kTooManyBytes = 54;
constexpr int kBadBaudRate = 55;
constexpr int kMissingArgument = 57;
constexpr int kBadAddress = 58;
constexpr int kBadParameterId = 59;
constexpr int kBadModemTypeForLayout = 60;
constexpr int kNotSupported = 61;
constexpr int kBadOffsetOrLength = 62;
constexpr int kNotInLocationTable = 63;
constexpr int kNoMemory = 64;
constexpr int kNoImage = 65;
constexpr int kShortRead = 67;
constexpr int kType4Only = 71;
constexpr int kNotAvailable = 72;
constexpr int kCannotReadImage = 73;
constexpr int kNothingReceived = 74;
constexpr int kNoPort = 75;
constexpr int kTimeout = 77;
constexpr int kImportFailed = 78;
constexpr int kExportFailed = 79;
constexpr int kSerialMismatch = 80;
constexpr int kUpgradeFailed = 81;
constexpr int kLoaderMemoryCheck = 82;
constexpr int kLoadCommandFailed = 83;
constexpr int kDownloadFailed = 84;
constexpr int kEepromWriteFailed = 85;
constexpr int kValidationFailed = 86;
constexpr int kCorruptFirmware = 87;
constexpr int kCreateFirmwareFailed = 88;
constexpr int kExcessBytes = 89;
constexpr int kModelIdMissing = 90;
constexpr int kNoDefinition = 91;
constexpr int kInvalidDefinition = 92;
constexpr int kNoMatchingChoice = 93;
constexpr int kTakesNoDefinition = 94;
constexpr int kBadModelRow = 96;
constexpr int kZeroCurrentChannel = 97;
constexpr int kStealthNoPort = 98;
constexpr int kBadCaptureMethod = 99;
constexpr int kBadCommandLine = 100;
constexpr int kNoSrecordResponse = 102;
constexpr int kAlreadyDemo = 103;
constexpr int kBadModel = 104;
constexpr int kBadParameters = 105;
constexpr int kIncorrectResponse = 108;
constexpr int kBadIni = 109;
constexpr int kCannotOpenIni = 111;
constexpr int kBadPower = 113;
constexpr int kBadModemType = 114;
// Backups, verification and profiles.
constexpr int kVerifyFailed = 131;    // the settings read back differ from those written
constexpr int kBackupFailed = 132;    // no backup could be written, so nothing was programmed
constexpr int kBackupRefused = 133;   // a backup of another modem, modem type or memory size
constexpr int kBackupDamaged = 134;   // not a backup file, or one whose bytes were changed
constexpr int kProfileDamaged = 135;  // not a settings profile
// A channel plan (CSV) or a channel-table file that cannot be imported as a whole: nothing was
// changed.
constexpr int kChannelPlanRefused = 136;
constexpr int kChannelTableRefused = 137;
// File errors: 900 + the cause (1 generic ... 14 end of file).
constexpr int kFileErrorBase = 900;
constexpr int kFileGeneric = 901;
constexpr int kFileNotFound = 902;
constexpr int kFileBadPath = 903;
constexpr int kFileTooManyOpen = 904;
constexpr int kFileAccessDenied = 905;
constexpr int kFileInvalid = 906;
constexpr int kFileDiskFull = 913;
constexpr int kFileEndOfFile = 914;
}  // namespace rc

// The file error code (901..914) for an errno value of a failed open, read or write.
int FileErrorFromErrno(int err);

// The text of a code (its sign ignored). With `withResponse` and a non-empty response the text
// becomes "%s\nResponse: %s<-".
std::string ErrorText(int code, const std::string& response = std::string(),
                      bool withResponse = false);

// The caption and the message of the error box shown for a failed action.
std::string ErrorBoxCaption(int action);
std::string ErrorBoxMessage(int code, const std::string& response);

}  // namespace vxl
