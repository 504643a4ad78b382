#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Clock;
class Dialogs;
class RecordReader;
class RecordTableModel;
class RecordWriter;
struct AppContext;
struct SharedState;

inline const QString kCannotWriteFile =
    QStringLiteral("Cannot write the file, check the disk and try again!");
inline const QString kCannotReadFile =
    QStringLiteral("Cannot read the file, check it and try again!");
inline const QString kAlreadyRecording =
    QStringLiteral("Aready in recording mode, close it and try again !");
inline const QString kStopRecordingFirst =
    QStringLiteral("Recording Mode!\n\rPlease stop recording!");
inline const QString kAllFilesFilter = QStringLiteral("All Files (*)");
inline const QString kDashLine = QString(30, u'-');

// What the grid procedures see of a list window: its caption, which carries the series' header
// after "---" and shows the progress of long operations.
class CaptionedWindow {
public:
    virtual ~CaptionedWindow() = default;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    // The user asked to close the window while a procedure was filling or printing it; the
    // procedure stops at its next row so the window can go.
    virtual bool closing() const { return false; }
};

// Switches the application's mouse pointer to the hourglass (true) and back (false).
using BusyPointer = std::function<void(bool busy)>;

// The save-as dialog: sets FileName and FileSelected. FileSelected is cleared before the dialog
// opens, so a cancelled dialog can never lead to writing the file of an earlier save.
bool ChooseSaveFile(SharedState& state, Dialogs& dialogs);

// The lines of a list saved as a record file, into an open writer: the header from `caption`,
// then one line per data row with a TAB after every cell. The window's caption counts the rows
// meanwhile. False when a line could not be written.
bool writeGridLines(RecordWriter& file, const QString& caption, CaptionedWindow& window,
                    const RecordTableModel& grid);

// Writes the grid as a record file named FileName: the header from the caption, then one line
// per data row with a TAB after every cell. On a failure it closes the partial file, restores
// the caption and reports kCannotWriteFile. FileSelected is cleared either way.
bool SaveGridToFile(SharedState& state, Dialogs& dialogs, CaptionedWindow& window,
                    const RecordTableModel& grid, const BusyPointer& busy = {});

// The "Save" button of the live and downloaded lists: refused while PC recording owns the file
// slot, otherwise the save dialog and SaveGridToFile.
void saveList(SharedState& state, Dialogs& dialogs, CaptionedWindow& window,
              const RecordTableModel& grid, const BusyPointer& busy = {});

// One printed row: record number, time stamp and value padded to 7, 18 and 7 characters. A
// cell that fills its column is followed by one space, so the 19-character time stamp never
// runs into the value.
QString printedRow(const QString& number, const QString& time, const QString& value);

// "Export": the list as CSV, or as JSON Lines for a name ending in ".jsonl", into a file the user
// chooses. The file is written whole or not at all, so a failed write keeps an earlier file; the
// failure is said. False when nothing was written.
bool exportList(Dialogs& dialogs, CaptionedWindow& window, const RecordTableModel& grid,
                const BusyPointer& busy = {});

// Rows of a list as a spreadsheet takes them from the clipboard: the titles, then each row, its
// cells TAB separated, each line ending in a line feed.
QString copiedRows(const RecordTableModel& grid, const std::vector<int>& rows);

// Prints the caption, a line of 30 dashes and one line per data row, pausing the main window's
// poll meanwhile. Events run between rows, so rows added meanwhile are printed too. False when
// the job could not start, was given up (the window or the program closing) or failed.
bool PrintGrid(AppContext& app, CaptionedWindow& window, const RecordTableModel& grid,
               const BusyPointer& busy = {});

// "Open" steps 2 and 3: refused while recording; the open dialog. The chosen path, or nullopt.
std::optional<QString> chooseFileToOpen(const SharedState& state, Dialogs& dialogs);

// Why a file chosen in "Open" could not be read, for the detail line of kCannotReadFile.
QString readFailureDetail(const QString& path, const QString& error);

// Reads an opened record file into a list: the first item joins the file title in the caption,
// every further item is a row. The caption counts the rows while they load and ends as file
// title, "---", header. With a clock, events run between batches of rows. False after a read
// error (what was read stays in the list).
bool readRecordFile(RecordReader& reader, const QString& fileTitle, CaptionedWindow& window,
                    RecordTableModel& grid, Clock* clock = nullptr);
