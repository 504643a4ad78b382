#include "panel/HelpText.h"

namespace {

HelpSection toolbarSection() {
    return {kHelpToolbarHeading,
            {
                {{QStringLiteral("Save1"), QStringLiteral("Stop")},
                 QStringLiteral("Save As"),
                 QStringLiteral(
                     "Records the live reading into a text file: asks where to save it, then "
                     "writes one line per sample at the PC sampling time. While it records the "
                     "button shows the second picture and is called Stop Recording; clicking "
                     "it then ends the recording. A change of range or unit on the meter also "
                     "ends it.")},
                {{QStringLiteral("Open")},
                 QStringLiteral("Open File"),
                 QStringLiteral("Shows a record file saved earlier as a list, which can be "
                                "plotted and printed.")},
                {{QStringLiteral("List")},
                 QStringLiteral("List Display"),
                 QStringLiteral("Lists the live reading, one row per sample at the PC sampling "
                                "time. The list can be saved and printed.")},
                {{QStringLiteral("Graph")},
                 QStringLiteral("Graphic Display"),
                 QStringLiteral("Draws the live reading over time. The graph's limits can be "
                                "set, and it can be printed or saved as a picture.")},
                {{QStringLiteral("AVG")},
                 QStringLiteral("Max/Min/AVG"),
                 QStringLiteral("Shows the highest, lowest and average live reading since the "
                                "window opened or was reset, and how many readings that took.")},
                {{QStringLiteral("PC")},
                 QStringLiteral("PC Sampling"),
                 QStringLiteral("Sets the PC sampling time, 1 to 86400 seconds: how often "
                                "recording and the live list take a sample.")},
                {{QStringLiteral("Memory")},
                 QStringLiteral("Datalogger"),
                 QStringLiteral("The meter's own memory: its logging settings and the sets it "
                                "has logged. A set can be downloaded into a list, and the "
                                "memory erased.")},
                {{QStringLiteral("Stop")},
                 QStringLiteral("Stop Recording"),
                 QStringLiteral("The picture the first button shows while recording. This "
                                "button itself does nothing.")},
                {{QStringLiteral("Save1")},
                 QStringLiteral("Save As"),
                 QStringLiteral("The picture the first button shows while not recording. This "
                                "button itself does nothing.")},
                {{QStringLiteral("Light")},
                 QStringLiteral("Luminous Intensity"),
                 QStringLiteral("Turns the live reading and the distance you type from the "
                                "light source to the meter into the source's luminous "
                                "intensity in candela.")},
                {{QStringLiteral("TimeSet")},
                 QStringLiteral("Set Meter Time to System Time"),
                 QStringLiteral("Shows the meter's clock beside the computer's and sets the "
                                "meter's clock to the computer's.")},
                {{QStringLiteral("Alarm")},
                 QStringLiteral("Alarm"),
                 QStringLiteral("Sets a high and a low limit in LUX or Fc. While the alarm is "
                                "on, the main window beeps and shows OVER or UNDER for a "
                                "reading beyond them.")},
            }};
}

HelpSection portSection() {
    return {QStringLiteral("Ports the start window accepts"),
            {
                {{},
                 QStringLiteral("COM1 to COM8"),
                 QStringLiteral("The first eight serial ports, /dev/ttyS0 to /dev/ttyS7. "
                                "Auto is COM1.")},
                {{},
                 QStringLiteral("Adapter names"),
                 QStringLiteral("USB serial adapters under /dev/serial/by-id, listed by a "
                                "short name that stays the same whichever USB socket the "
                                "adapter is plugged into.")},
                {{},
                 QStringLiteral("Device paths"),
                 QStringLiteral("Any path that begins with /, such as /dev/ttyUSB0 or "
                                "/dev/ttyACM0. The list offers the serial devices the system "
                                "reports.")},
                {{},
                 QStringLiteral("Demo"),
                 QStringLiteral("The built-in demo meter: the program runs without a meter, "
                                "on readings it makes up.")},
                {{},
                 QStringLiteral("Permission"),
                 QStringLiteral("A port refused for lack of permission needs your user in the "
                                "dialout group: sudo usermod -aG dialout $USER, then log in "
                                "again.")},
                {{},
                 QStringLiteral("Spelling"),
                 QStringLiteral("Names are typed as shown, capitals included: com1 or demo "
                                "open nothing.")},
            }};
}

HelpSection fileSection() {
    return {QStringLiteral("Where files go"),
            {
                {{},
                 QStringLiteral("Record files"),
                 QStringLiteral("Recording and a list's Save write text files, a header line "
                                "and then one tab-separated line per reading. Each goes where "
                                "you choose in the Save As dialog; nothing is saved "
                                "anywhere else.")},
                {{},
                 QStringLiteral("Pictures"),
                 QStringLiteral("Save Picture on a graph writes a PNG or SVG picture where you "
                                "choose in its dialog.")},
                {{},
                 QStringLiteral("Printing"),
                 QStringLiteral("Print sends a list or a graph to the default printer; without "
                                "a printer it asks where to save a PDF file instead.")},
                {{},
                 QStringLiteral("Folders"),
                 QStringLiteral("Each kind of file dialog (record files, pictures) opens in "
                                "the folder it used last, also after a restart.")},
                {{},
                 QStringLiteral("Settings"),
                 QStringLiteral("luxlog keeps the last port, the sampling time, the alarm, the "
                                "graph's range, the folders and where each window was in "
                                "~/.config/luxlog/luxlog.conf; luxlog --reset-settings "
                                "forgets them.")},
            }};
}

HelpSection keySection() {
    return {kHelpKeysHeading,
            {
                {{},
                 QStringLiteral("Ctrl+S"),
                 QStringLiteral("Save As, or Stop Recording while "
                                "recording (main window)")},
                {{}, QStringLiteral("Ctrl+O"), QStringLiteral("Open File (main window)")},
                {{}, QStringLiteral("Ctrl+L"), QStringLiteral("List Display (main window)")},
                {{}, QStringLiteral("Ctrl+G"), QStringLiteral("Graphic Display (main window)")},
                {{}, QStringLiteral("Ctrl+M"), QStringLiteral("Datalogger (main window)")},
                {{}, QStringLiteral("Ctrl+P"), QStringLiteral("Print (list and graph windows)")},
                {{},
                 QStringLiteral("Esc"),
                 QStringLiteral("Closes the window, unless it is the "
                                "main window")},
                {{}, QStringLiteral("F1"), QStringLiteral("This help, from any window")},
            }};
}

} // namespace

QList<HelpSection> helpText() {
    return {toolbarSection(), portSection(), fileSection(), keySection()};
}
