#pragma once

class QLabel;
class QString;

// Value labels are refreshed at the poll's pace; most refreshes change nothing, and a label
// handed its own text again should not repaint.
void showText(QLabel* label, const QString& text);
