#include "gui/help_texts.h"

namespace vxl::gui {

namespace {

struct HelpRow {
    int dialogId;
    int controlId;
    const char* text;
};

constexpr HelpRow kHelp[] = {
    {kMainDialogId, 1011, "Opens the operator's guide of VXL Configuration Software (F1)."},
    {kMainDialogId, 1008,
     "Captures the modem on the selected serial port and reads its settings (F2). After a "
     "Program it reads the modem again."},
    {kMainDialogId, 1003,
     "Writes the changed settings into the modem (F4). Available once a setting differs from "
     "what the modem holds."},
    {kMainDialogId, 1009, "Releases the modem; it returns to normal operation."},
    {kMainDialogId, 1013, "Prints the configuration report of the loaded modem (F5)."},
    {kMainDialogId, 1007, "Leaves the program; the modem returns to normal operation."},
    {kMainDialogId, 1004, "Puts back the settings the modem holds, dropping every change."},
    {kMainDialogId, 1010,
     "Sets the radio link and serial interface settings to the factory defaults of this model. "
     "Program writes them into the modem."},
    {kMainDialogId, 1012, "The modem's settings, one page per topic."},
    {kMainDialogId, 1049, "The vendor of your modem; its tool tip names the support line."},
    {115, 1029, "The modem's model."},
    {115, 1031, "The revision of the firmware running in the modem."},
    {115, 1034, "The modem's identification number."},
    {115, 1032, "The frequency band the modem works in."},
    {115, 1033, "The modem's transmitter power."},
    {115, 1036, "The width of the radio channel."},
    {115, 1030, "The modem's serial number, fixed at the factory."},
    {115, 1057,
     "The station call sign the modem sends: letters, digits and the characters \" ! $ ' ( ) + "
     ", - . / : ; = ? _ (letters are turned into capitals)."},
    {115, 1028, "Free text naming the modem's owner, up to 32 characters."},
    {114, 1037, "Prints the memory map of the loaded modem."},
};

}  // namespace

QString ControlHelpText(int dialogId, int controlId) {
    for (const HelpRow& row : kHelp) {
        if (row.dialogId == dialogId && row.controlId == controlId)
            return QString::fromUtf8(row.text);
    }
    return QString();
}

}  // namespace vxl::gui
