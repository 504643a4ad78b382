#include "charts/ui/PlotRange.h"

#include "charts/RangeEntry.h"
#include "charts/ui/ChartNames.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/OpenCharts.h"
#include "charts/ui/RangeBox.h"
#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/SharedState.h"
#include "common/ui/Twips.h"
#include "common/ui/WindowOwner.h"
#include "records/RecordTableModel.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// A frame holding two captioned boxes side by side.
QGroupBox* frame(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

RangeBox* captionedBox(QWidget* frame, int left, const char* panelName, const QString& caption,
                       const char* boxName, BoxKeys keys) {
    QLabel* panel = captionPanel(panelName, caption, frame);
    panel->setGeometry(left, 20, 60, 18);
    auto* box = new RangeBox(boxName, keys, frame);
    panel->setBuddy(box);
    box->setGeometry(left, 40, 60, 22);
    return box;
}

} // namespace

PlotRange::PlotRange(AppContext& context, WindowOwner& owner, const RecordTableModel* records)
    : m_context(context)
    , m_owner(owner)
    , m_records(records) {
    setObjectName(QStringLiteral("PlotRange"));
    setFixedSize(twipsSize(5160, 1410));
    move(0, 0);

    QGroupBox* values = frame("SSFrame1", QStringLiteral("Fc/LUX"), this);
    values->setGeometry(4, 4, 136, 72);
    m_txtT1 = captionedBox(values, 6, "SSPanel1", QStringLiteral("Min"), "TxtT1", BoxKeys::Signed);
    m_txtT2 = captionedBox(values, 70, "SSPanel2", QStringLiteral("Max"), "TxtT2", BoxKeys::Signed);
    QGroupBox* span = frame("SSFrame2", QStringLiteral("Records"), this);
    span->setGeometry(144, 4, 136, 72);
    m_txtR1 = captionedBox(span, 6, "SSPanel3", QStringLiteral("From"), "TxtR1", BoxKeys::Digits);
    m_txtR2 = captionedBox(span, 70, "SSPanel4", QStringLiteral("To"), "TxtR2", BoxKeys::Digits);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setGeometry(286, 44, 52, 28);
    connect(ok, &QPushButton::clicked, this, &PlotRange::CmdOK_Click);
    setTabOrder(m_txtT1, m_txtT2);
    setTabOrder(m_txtT2, m_txtR1);
    setTabOrder(m_txtR1, m_txtR2);
    setTabOrder(m_txtR2, ok);

    m_txtT1->onEnter = [this] { m_txtT2->setFocus(); };
    m_txtT2->onEnter = [this] { m_txtR1->setFocus(); };
    m_txtR1->onEnter = [this] { m_txtR2->setFocus(); };
    m_txtR2->onEnter = [this] { CmdOK_Click(); };

    const PlotRangeTexts texts = plotRangeTexts(context.state);
    m_txtT1->setText(texts.t1);
    m_txtT2->setText(texts.t2);
    m_txtR1->setText(texts.r1);
    m_txtR2->setText(texts.r2);
}

void PlotRange::CmdOK_Click() {
    whileRunning([this] { checkAndReplot(); });
}

void PlotRange::checkAndReplot() {
    SharedState& s = m_context.state;
    const auto checked =
        checkPlotRange({m_txtT1->text(), m_txtT2->text(), m_txtR1->text(), m_txtR2->text()}, s);
    if (const auto* rejected = std::get_if<QString>(&checked)) {
        m_context.dialogs.message(*rejected, {}, Dialogs::Icon::Critical);
        return;
    }
    const AcceptedPlotRange& range = std::get<AcceptedPlotRange>(checked);
    m_owner.close(kListPlot);
    s.PlotBottom = range.bottom;
    s.PlotTop = range.top;
    s.PlotFirst = range.first;
    s.PlotLast = range.last;
    s.PlotCount = s.PlotLast - s.PlotFirst + 1;
    openListPlot(m_context, m_owner, m_records);
    close();
}
