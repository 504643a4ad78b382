#include "charts/ui/RealTimeRange.h"

#include "charts/RangeEntry.h"
#include "charts/ui/ChartNames.h"
#include "charts/ui/RangeBox.h"
#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/RememberedState.h"
#include "common/SharedState.h"
#include "common/ui/Twips.h"
#include "common/ui/WindowOwner.h"

#include <QLabel>
#include <QPushButton>
#include <exception>

RealTimeRange::RealTimeRange(AppContext& context, WindowOwner& owner)
    : m_context(context)
    , m_owner(owner) {
    setObjectName(QStringLiteral("RealTimeRange"));
    setWindowTitle(QStringLiteral("Real Time Range"));
    setFixedSize(twipsSize(3450, 855));

    // Min, Max and Counts from left to right, each caption above its box.
    const int top = 4;
    const int boxTop = 24;
    const int width = 50;
    QLabel* min = captionPanel("SSPanel1", QStringLiteral("Min"), this);
    min->setGeometry(6, top, width, 18);
    m_txtMin = new RangeBox("TxtMin", BoxKeys::Signed, this);
    min->setBuddy(m_txtMin);
    m_txtMin->setGeometry(6, boxTop, width, 22);
    QLabel* max = captionPanel("SSPanel3", QStringLiteral("Max"), this);
    max->setGeometry(60, top, width, 18);
    m_txtMax = new RangeBox("TxtMax", BoxKeys::Signed, this);
    max->setBuddy(m_txtMax);
    m_txtMax->setGeometry(60, boxTop, width, 22);
    QLabel* counts = captionPanel("SSPanel2", QStringLiteral("Counts"), this);
    counts->setGeometry(114, top, width, 18);
    m_txtCounts = new RangeBox("TxtCounts", BoxKeys::Digits, this);
    counts->setBuddy(m_txtCounts);
    m_txtCounts->setGeometry(114, boxTop, width, 22);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    ok->setGeometry(172, 18, 52, 28);
    connect(ok, &QPushButton::clicked, this, &RealTimeRange::CmdOK_Click);
    setTabOrder(m_txtMin, m_txtMax);
    setTabOrder(m_txtMax, m_txtCounts);
    setTabOrder(m_txtCounts, ok);

    m_txtMax->onEnter = [this] { m_txtMin->setFocus(); };
    m_txtMin->onEnter = [this] { m_txtCounts->setFocus(); };
    m_txtCounts->onEnter = [this] { CmdOK_Click(); };

    const GraphRangeTexts texts = graphRangeTexts(context.state);
    m_txtMax->setText(texts.max);
    m_txtMin->setText(texts.min);
    m_txtCounts->setText(texts.counts);
}

void RealTimeRange::CmdOK_Click() {
    // Its messages let the graph tick, and a tick may close this dialog meanwhile.
    whileRunning([this] { checkAndReopen(); });
}

void RealTimeRange::checkAndReopen() {
    SharedState& s = m_context.state;
    const auto checked =
        checkGraphRange({m_txtMax->text(), m_txtMin->text(), m_txtCounts->text()}, s);
    if (const auto* rejected = std::get_if<QString>(&checked)) {
        m_context.dialogs.message(*rejected, {}, Dialogs::Icon::Critical);
        return;
    }
    const AcceptedGraphRange& range = std::get<AcceptedGraphRange>(checked);
    const double oldTop = s.GraphTop;
    const double oldBottom = s.GraphBottom;
    const double oldStep = s.GraphStep;
    s.GraphTop = range.top;
    s.GraphBottom = range.bottom;
    s.GraphStep = range.step;
    try {
        showGraph(m_context, m_owner);
        rememberGraphRange(s, s, m_context.settings);
    } catch (const std::exception& failure) {
        s.GraphTop = oldTop;
        s.GraphBottom = oldBottom;
        s.GraphStep = oldStep;
        // The old graph goes once the new one is in place; if it went, it comes back as it was.
        if (!m_owner.open(kRealTimeGraph)) {
            try {
                showGraph(m_context, m_owner);
            } catch (const std::exception&) {
                // The message says what failed in the first place.
            }
        }
        m_context.dialogs.message(QStringLiteral("The graph could not be restarted: ") +
                                      QString::fromLocal8Bit(failure.what()),
                                  {}, Dialogs::Icon::Critical);
        return;
    }
    close();
}
