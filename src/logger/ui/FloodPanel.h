#pragma once

#include <QFrame>
#include <QString>

// A caption panel whose background fills from the left like a bar: the occupied part in the
// "used" colour, the rest in the "unused" colour, the caption on top.
class FloodPanel : public QFrame {
    Q_OBJECT
public:
    static const QColor& usedColour();
    static const QColor& unusedColour();

    explicit FloodPanel(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    double floodPercent() const { return m_percent; }
    // Clamped to 0..100.
    void setFloodPercent(double percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_caption;
    double m_percent = 0;
};
