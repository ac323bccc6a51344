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
    // Radio Link
    {111, 1023,
     "The channel the modem works on, with its transmit and receive frequencies in MHz. Only "
     "channels that have frequencies are listed."},
    {111, 1101,
     "Reads a channel table (.upg file) into the modem's sixteen channels. A table made for "
     "another modem's serial number is refused. Program writes it into the modem."},
    {111, 1103,
     "Reads a channel plan from a CSV file (Channel,RX MHz,TX MHz), as spreadsheets write it. "
     "A row that does not suit this modem refuses the whole file."},
    {111, 1014,
     "The bit rate over the radio link. The rates offered depend on the modulation and the "
     "channel bandwidth."},
    {111, 1024,
     "How the data is modulated onto the radio carrier. Changing it can change the link rate."},
    {111, 1013, "How strong a signal must be before the receiver passes it on."},
    {111, 1016, "How many times a packet that was not acknowledged is sent again."},
    {111, 1015, "How long the modem waits for an acknowledgement, in seconds."},
    {111, 1018, "This modem's address on the radio network (0 to 255)."},
    {111, 1020, "The address of the modem this one sends to (0 to 255)."},
    {111, 1017, "Adds error-correcting codes to the transmission."},
    {111, 1019, "Scrambles the transmitted data."},
    {111, 1021, "Waits for a free channel before transmitting."},
    // Serial Interface
    {117, 1023, "The rate of the modem's serial port towards your equipment."},
    {117, 1024, "The parity of the modem's serial port."},
    {117, 1032, "Whether the modem is enabled. Shown only; it cannot be changed here."},
    {117, 1027,
     "How the modem packs serial data into radio transmissions. The fields for the end of a "
     "transmission follow the mode."},
    {117, 1026, "A BREAK on the serial line puts the modem into command mode."},
    {117, 1050, "The modem repeats what it receives."},
    {117, 1028,
     "The character that ends a transmission. Use the arrows beside it to step through the 256 "
     "characters."},
    {117, 1053, "Steps the end-of-transmission character up or down."},
    {117, 1031, "The pause that ends a transmission, in steps of 100 ms."},
    {117, 1030, "How long a digipeater waits before it repeats, in seconds."},
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
