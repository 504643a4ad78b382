#pragma once

#include "link/PortNames.h"

#include <QWidget>

class QComboBox;
class QPushButton;
struct SharedState;

// The start window "COM Port": the user picks the port the meter is on.
class PortWindow : public QWidget {
    Q_OBJECT
public:
    // `systemDevices`: the serial devices the system reports, offered after COM8 and the
    // stable names of `stable`. `lastPort`, the port that opened last time, is offered first and
    // filled in.
    PortWindow(SharedState& state, const QStringList& systemDevices,
               const QList<StablePort>& stable = {}, const QString& lastPort = {},
               QWidget* parent = nullptr);

    // The port as the user chose it ("COM3", a device path, a by-id name, "Demo"), once chosen.
    QString chosenText() const;

    void CmdOK_Click();
    void Port1_Click();
    void Port2_Click();

signals:
    // A choice was made (or a text that matches nothing, leaving ComPort at 0): show the main
    // window now; this window closes itself.
    void portChosen();

private:
    void Form_Load(const QStringList& systemDevices, const QString& lastPort);
    void choose(qint16 comPort);

    SharedState& m_state;
    QList<StablePort> m_stable;
    QComboBox* m_txtCom = nullptr;
    QString m_chosen;
};
