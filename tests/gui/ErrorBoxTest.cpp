// The error box of the event loop when failures come in a row: handlers keep running while a box is
// up, and a paint that fails fails again at every request.
#include <windows.h>

#include <gtest/gtest.h>
#include <stdexcept>

#include "catalogue/IoError.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "tests/support/FakeServices.h"

namespace kanaroll::testing {
namespace {

// A window of the program whose painting always fails, before it has painted anything.
class FailingPainter : public Window {
public:
    explicit FailingPainter(HWND owner) {
        CreateWindowOf({.className = L"KanarollTestFailingPainter"}, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"",
                       0, 0, 200, 150, owner);
    }
    int paints = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            ++paints;
            throw std::runtime_error("paint failed");
        }
        return DefaultHandling(message, wParam, lParam);
    }
};

class ErrorBoxTest : public ::testing::Test {
protected:
    // Up to 20 waiting messages: a paint asked for again and again must not hold the test.
    static void PumpSome() {
        MSG message;
        for (int round = 0; round < 20 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++round) {
            DispatchMessageW(&message);
        }
    }
    // Paints the window now, as a message loop would when it finds it invalid.
    void Repaint() {
        InvalidateRect(painter.Handle(), nullptr, FALSE);
        UpdateWindow(painter.Handle());
    }

    FakeServices services;
    Application app{services};
    FailingPainter painter{app.OwnerWindow()};
};

TEST_F(ErrorBoxTest, FailuresWhileTheBoxIsUpAddNoBoxesOfTheirOwn) {
    int failuresWhileUp = 0;
    bool inside = false;  // a box opened by what runs here must not run it again, or it never ends
    services.whileMessageBoxUp = [&] {
        if (inside) return;
        inside = true;
        for (int paint = 0; paint < 3; ++paint) Repaint();
        ReportError(IoError(101));
        failuresWhileUp = painter.paints;
        inside = false;
    };
    ReportError(IoError(5));
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text, L"ファイルへのアクセスが拒否されました.");
    EXPECT_EQ(services.messageBoxes[0].caption, L"Kanaroll");
    EXPECT_EQ(services.messageBoxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_GE(failuresWhileUp, 3);  // the paints did run, and failed

    // Once the box is closed, the next failure has its box again.
    services.whileMessageBoxUp = nullptr;
    ReportError(IoError(2));
    ASSERT_EQ(services.messageBoxes.size(), 2u);
    EXPECT_EQ(services.messageBoxes[1].text, L"ファイルが見つかりません.");
}

TEST_F(ErrorBoxTest, AFailedPaintIsReportedOnceAndNotAskedForAgain) {
    PumpSome();
    const std::size_t boxes = services.messageBoxes.size();
    const int paints = painter.paints;
    Repaint();
    EXPECT_EQ(painter.paints, paints + 1);
    EXPECT_EQ(services.messageBoxes.size(), boxes + 1);
    EXPECT_EQ(services.messageBoxes.back().text, L"paint failed.");
    // The failed area counts as painted: nothing waits to be painted, and the loop finds no paint.
    EXPECT_FALSE(GetUpdateRect(painter.Handle(), nullptr, FALSE));
    PumpSome();
    EXPECT_EQ(painter.paints, paints + 1);
    EXPECT_EQ(services.messageBoxes.size(), boxes + 1);
}

}  // namespace
}  // namespace kanaroll::testing
