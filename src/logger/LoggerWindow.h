#pragma once

#include "records/FileTransfer.h"

#include <QString>
#include <QStringList>

// The data logger window as its procedures see it, so that they run without widgets.
class LoggerWindow {
public:
    virtual ~LoggerWindow() = default;

    // Shows the window without blocking; the first show places it and writes the grid titles.
    virtual void showWindow() = 0;
    // The user closed the window (or an erase did); an exchange still running ends at its next
    // wait.
    virtual bool closed() const = 0;
    virtual void closeWindow() = 0;

    // LblMemory
    virtual void setCapacityText(const QString& text) = 0;
    // LblID and LblIntv
    virtual QString idText() const = 0;
    virtual void setIdText(const QString& text) = 0;
    virtual QString intervalText() const = 0;
    virtual void setIntervalText(const QString& text) = 0;
    // The flood bar of MSize, in percent.
    virtual void setUsagePercent(double percent) = 0;
    // MBar, in percent.
    virtual void setTransferPercent(double percent) = 0;

    // GridSet: row 0 is the title row.
    virtual int setRowCount() const = 0;
    virtual QString setCell(int row, int column) const = 0;
    virtual void appendSetRow(const QString& tabSeparated) = 0;
};

// The downloaded-data list as a download fills it. Its caption shows the progress and ends as
// the title followed by the series' header.
class DownloadedList : public CaptionedWindow {
public:
    // Shows the list without blocking.
    virtual void show() = 0;
    // Closes a list that a failed download never showed.
    virtual void close() = 0;
    // Rows of the sample-line form, added after the existing ones.
    virtual void appendRows(const QStringList& rows) = 0;
    // While the rows arrive the list's commands wait; they work once it is complete.
    virtual void setFilling(bool filling) = 0;
};
