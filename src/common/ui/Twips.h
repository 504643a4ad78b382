#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Window layouts are given in twips; the screen has 15 twips per pixel.
constexpr int twips(int t) {
    return (t + 7) / 15;
}
inline QPoint twipsPoint(int left, int top) {
    return {twips(left), twips(top)};
}
inline QSize twipsSize(int width, int height) {
    return {twips(width), twips(height)};
}
inline QRect twipsRect(int left, int top, int width, int height) {
    return {twipsPoint(left, top), twipsSize(width, height)};
}
