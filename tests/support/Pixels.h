#pragma once

// Colours and pixel searches shared by the tests that look at drawn charts.

#include <QImage>
#include <QRect>
#include <vector>

inline const QRgb kWhite = qRgb(255, 255, 255);
inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kGrey = qRgb(192, 192, 192);
inline const QRgb kRed = qRgb(255, 0, 0);

// The columns of row y, from x0 to x1, that hold `colour`.
inline std::vector<int> columnsIn(const QImage& image, int y, int x0, int x1, QRgb colour) {
    std::vector<int> xs;
    for (int x = x0; x <= x1; ++x) {
        if (image.pixel(x, y) == colour)
            xs.push_back(x);
    }
    return xs;
}

// The rows of column x, from y0 to y1, that hold `colour`.
inline std::vector<int> rowsIn(const QImage& image, int x, int y0, int y1, QRgb colour) {
    std::vector<int> ys;
    for (int y = y0; y <= y1; ++y) {
        if (image.pixel(x, y) == colour)
            ys.push_back(y);
    }
    return ys;
}

inline bool anyDark(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}
