#include "common/Settings.h"
#include "common/ui/WindowOwner.h"
#include "common/ui/WindowPlaces.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A window of the program: it places itself at its usual place before it shows, as the
// program's windows do in their load.
QWidget* windowAtItsUsualPlace(const char* name, bool resizable) {
    auto* window = new QWidget;
    window->setObjectName(QString::fromLatin1(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (resizable)
        window->resize(200, 100);
    else
        window->setFixedSize(200, 100);
    window->move(30, 40);
    return window;
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

// A window opens where the user last left it (with its size, where it can be resized), also in
// the next run; one left where no screen is now opens at its usual place.
TEST(WindowPlaces, WindowsOpenWhereTheyWereLeft) {
    QTemporaryDir dir;
    const QString path = dir.filePath("luxlog.conf");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        const char* name;
        bool resizable;
        QPoint movedTo;
        QSize resizedTo;
        QPoint opensAt;
        QSize opensWith;
    } cases[] = {
        {"Alarm", false, screen.topLeft() + QPoint(150, 120), QSize(200, 100),
         screen.topLeft() + QPoint(150, 120), QSize(200, 100)},
        {"FileList", true, screen.topLeft() + QPoint(60, 70), QSize(320, 240),
         screen.topLeft() + QPoint(60, 70), QSize(320, 240)},
        {"Light", false, QPoint(-40000, -40000), QSize(200, 100), QPoint(30, 40), QSize(200, 100)},
    };
    // One run of the program: its places, and the window shown as it opens.
    struct Run {
        explicit Run(const QString& path)
            : settings(path) {
            owner.placeWith(&places);
        }
        QWidget* show(const char* name, bool resizable) {
            QWidget* window = windowAtItsUsualPlace(name, resizable);
            owner.adopt(QString::fromLatin1(name), window);
            window->show();
            settle();
            return window;
        }
        Settings settings;
        WindowPlaces places{&settings};
        WindowOwner owner;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        {
            Run first(path);
            QWidget* window = first.show(c.name, c.resizable);
            window->move(c.movedTo);
            if (c.resizable)
                window->resize(c.resizedTo);
            settle();
            window->close(); // hidden: its place is written at once
            settle();
        }
        Run next(path);
        QWidget* window = next.show(c.name, c.resizable);
        EXPECT_EQ(window->pos(), c.opensAt);
        EXPECT_EQ(window->size(), c.opensWith);
        window->close();
        settle();
    }
}

// Only a shown window is open: a hidden one is raised by nothing, and the next open makes a new
// one.
TEST(WindowOwner, HiddenWindowIsNotOpen) {
    WindowOwner owner;
    QWidget* first = windowAtItsUsualPlace("Light", false);
    owner.adopt(QStringLiteral("Light"), first);
    EXPECT_EQ(owner.open(QStringLiteral("Light")), nullptr); // not shown yet
    first->show();
    EXPECT_EQ(owner.open(QStringLiteral("Light")), first);
    first->hide();
    EXPECT_EQ(owner.open(QStringLiteral("Light")), nullptr);
    QWidget* second = owner.openOrRaise<QWidget>(
        QStringLiteral("Light"), [] { return windowAtItsUsualPlace("Light", false); });
    EXPECT_NE(second, first);
    EXPECT_EQ(owner.open(QStringLiteral("Light")), second);
    owner.closeAll();
    settle();
}
