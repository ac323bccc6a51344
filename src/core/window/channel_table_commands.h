// The main window's three channel-table commands (import, export, clear) with their questions,
// messages and error boxes, and the rules of the export dialog without the dialog.
#pragma once

#include <functional>
#include <string>

class CCoordinator;

namespace vxl {

class MainDialogView;

// What the operator chose in the export dialog.
struct ChannelTableExportChoice {
    std::string path;
    std::string serialText;  // as typed; read as a decimal number
};
// Shows the export dialog, starting in `startDir` (the working directory when empty); false
// when the operator cancels.
using ChannelTableExportDialog =
    std::function<bool(const std::string& startDir, ChannelTableExportChoice& choice)>;

// The export dialog's file-name rule: the name follows the serial number ("12345678.upg")
// while the file-name field holds a wild card or the last name made this way; once the
// operator types a name of their own, it stays.
class ExportFileNameRule {
  public:
    // The file-name field's text when the dialog opens.
    static constexpr const char* kStartName = "*.upg";
    // A pattern is no file name: it would make a file named "*.upg". Export waits for a name.
    static bool IsPattern(const std::string& fileNameText);

    // The file-name field's text after the serial-number text became `serialText`.
    std::string NameFor(const std::string& serialText, const std::string& fileNameText);

  private:
    std::string lastMade_;
};

// Export may go on: the serial number has the form YYWWxxxx, or the operator answered Yes to
// the "Invalid Serial Number" question (a file for an older serial number, or, with no number,
// one for any modem).
bool AcceptExportSerialNumber(const std::string& serialText);

// The serial number a file is bound to: the text read as a decimal number (0, valid for any
// modem, when it holds no digits).
uint32_t ExportSerialNumber(const std::string& serialText);

// Import: an open-file dialog, then the import; a failure shows its error box. `folder` is the
// initial channel-table folder, updated from the chosen path. Returns the coordinator's result
// (0 also when cancelled).
int ImportChannelTableCommand(CCoordinator& coordinator, MainDialogView* view, std::string& folder);
// Export: the export dialog, then the file; says where it was written, or shows the error box.
int ExportChannelTableCommand(CCoordinator& coordinator, const ChannelTableExportDialog& dialog,
                              std::string& folder);
// Clear: asks first; on success marks the Frequencies page and says what must follow.
int ClearChannelTableCommand(CCoordinator& coordinator, MainDialogView* view);

}  // namespace vxl
