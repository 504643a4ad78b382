#include "panel/ui/PortWindow.h"

#include "common/SharedState.h"
#include "common/ui/Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

PortWindow::PortWindow(SharedState& state, const QStringList& systemDevices,
                       const QList<StablePort>& stable, const QString& lastPort, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_stable(stable) {
    setObjectName(QStringLiteral("Port"));
    setWindowTitle(QStringLiteral("COM Port"));
    setFixedSize(twipsSize(2040, 615));

    m_txtCom = new QComboBox(this);
    m_txtCom->setObjectName(QStringLiteral("TxtCOM"));
    m_txtCom->setEditable(true);
    m_txtCom->setInsertPolicy(QComboBox::NoInsert);
    m_txtCom->setGeometry(twipsRect(120, 120, 1095, 345));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setGeometry(twipsRect(1320, 120, 615, 375));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PortWindow::CmdOK_Click);

    // Two direct buttons lie below the visible area: reachable only by their shortcuts.
    auto* port1 = new QPushButton(QStringLiteral("COM1"), this);
    port1->setObjectName(QStringLiteral("Port1"));
    port1->setGeometry(twipsRect(360, 5760, 855, 375));
    connect(port1, &QPushButton::clicked, this, &PortWindow::Port1_Click);
    auto* port2 = new QPushButton(QStringLiteral("COM2"), this);
    port2->setObjectName(QStringLiteral("Port2"));
    port2->setGeometry(twipsRect(1320, 5760, 855, 375));
    connect(port2, &QPushButton::clicked, this, &PortWindow::Port2_Click);

    Form_Load(systemDevices, lastPort);
}

void PortWindow::Form_Load(const QStringList& systemDevices, const QString& lastPort) {
    move(twipsPoint(3700, 2700));
    QStringList items = portListItems(systemDevices, m_stable);
    if (!lastPort.isEmpty()) {
        items.removeAll(lastPort);
        items.prepend(lastPort);
    }
    m_txtCom->addItems(items);
    // Adapter names and device paths are longer than the box: the list opens as wide as they.
    int widest = 0;
    for (int i = 0; i < m_txtCom->count(); ++i)
        widest = std::max(widest, m_txtCom->fontMetrics().horizontalAdvance(m_txtCom->itemText(i)));
    m_txtCom->view()->setMinimumWidth(widest + 30);
    m_txtCom->setCurrentIndex(0);
    m_txtCom->setEditText(lastPort.isEmpty() ? QStringLiteral("COM1") : lastPort);
}

QString PortWindow::chosenText() const {
    return m_chosen;
}

void PortWindow::CmdOK_Click() {
    m_chosen = m_txtCom->currentText().trimmed();
    if (const auto choice = portChoiceFromText(m_txtCom->currentText(), m_stable)) {
        m_state.ComPort = choice->comPort;
        m_state.ComDevice = choice->device;
    }
    emit portChosen();
    close();
}

void PortWindow::Port1_Click() {
    choose(1);
}

void PortWindow::Port2_Click() {
    choose(2);
}

void PortWindow::choose(qint16 comPort) {
    m_state.ComPort = comPort;
    m_state.ComDevice.clear();
    m_chosen = QStringLiteral("COM") + QString::number(comPort);
    emit portChosen();
    close();
}
