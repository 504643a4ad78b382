#pragma once

#include "logger/DataLogger.h"
#include "logger/LoggerWindow.h"
#include "logger/SetListModel.h"

#include "common/ui/SecondaryWindow.h"

#include <functional>

class FloodPanel;
class QLabel;
class QModelIndex;
class QProgressBar;
class QTableView;
struct AppContext;

// The data logger window "Memory": the meter's logger settings, memory usage and the list of
// logged sets. Clicks change the ID code or the interval, erase the memory or download a set.
//
// Closing it clears MemoryOn at once; an exchange still running ends at its next wait.
class MemoryWindow : public SecondaryWindow, private LoggerWindow {
    Q_OBJECT
public:
    MemoryWindow(AppContext& context, DataLogger::ListSource obtainList);
    ~MemoryWindow() override;

    // The "Memory" button's procedure: shows the window, reads settings and the set list.
    void readSetList();

    void LblID_Click();
    void SSPanel1_Click();
    void LblIntv_Click();
    void SSPanel4_Click();
    void MSize_Click();
    void SSPanel2_Click();
    void SSPanel3_Click();
    void GridSet_Click(const QModelIndex& index);

    QTableView* gridSet() const { return m_gridSet; }

protected:
    void Form_Unload() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();

    // LoggerWindow
    void showWindow() override;
    bool closed() const override { return closing(); }
    void closeWindow() override;
    void setCapacityText(const QString& text) override;
    QString idText() const override;
    void setIdText(const QString& text) override;
    QString intervalText() const override;
    void setIntervalText(const QString& text) override;
    void setUsagePercent(double percent) override;
    void setTransferPercent(double percent) override;
    int setRowCount() const override { return m_sets.rowCount(); }
    QString setCell(int row, int column) const override { return m_sets.cell(row, column); }
    void appendSetRow(const QString& tabSeparated) override { m_sets.appendRow(tabSeparated); }

    AppContext& m_context;
    SetListModel m_sets;
    DataLogger m_logger;
    bool m_loaded = false;

    QLabel* m_ssPanel1 = nullptr;
    QLabel* m_lblId = nullptr;
    QLabel* m_ssPanel4 = nullptr;
    QLabel* m_lblIntv = nullptr;
    QLabel* m_lblMemory = nullptr;
    FloodPanel* m_mSize = nullptr;
    QLabel* m_ssPanel3 = nullptr;
    QLabel* m_ssPanel2 = nullptr;
    QLabel* m_lblUnused = nullptr;
    QLabel* m_lblUsed = nullptr;
    QProgressBar* m_mBar = nullptr;
    QTableView* m_gridSet = nullptr;
};
