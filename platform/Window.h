// The small window layer under the server dialog and the progress window: the
// message font, top-level windows of the program's own classes, and the loops
// that serve them. The windows are laid out for the DPI of the monitor they are
// on: every length of their layout is given in pixels at 96 DPI and scaled.
#pragma once

#include "platform/Owner.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

struct Size {
    int width = 0;
    int height = 0;
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

// The DPI at which a length in pixels is what it says.
constexpr int DefaultDpi = 96;

// A length in pixels at 96 DPI, at the DPI given.
int ScaleToDpi(int pixels, int dpi);

// The system's message-box font (the message font of the non-client
// metrics); "MS Sans Serif" of 11 pixels (at 96 DPI) when those cannot be read.
class Font {
public:
    Font() = default;  // none yet
    // At the DPI given: the metrics are the system's DPI's, their height scaled.
    static Font MessageFont(int dpi);

    HFONT Handle() const { return static_cast<HFONT>(font_.get()); }
    // The height of one line (the font's tmHeight).
    int LineHeight() const;
    // The width of text on one line, "&" included as it stands.
    int TextWidth(const std::string& text) const;
    // The height of text word-wrapped and centred in the given width.
    int WrappedHeight(const std::string& text, int width) const;

private:
    explicit Font(HFONT font) : font_(font) {}
    GdiObject font_;
};

// The size of the primary screen.
Size ScreenSize();

// numerator / denominator (denominator > 0) to the nearest integer, halves to the even neighbour.
int RoundHalfEven(int numerator, int denominator);

// Waits that long while dispatching the thread's messages, so that its windows
// stay responsive during a wait.
void SleepDispatchingMessages(DWORD milliseconds);

// What sets a kind of top-level window apart: its window class, and whether the
// user works with it. A window the user does not work with is disabled once
// shown (a click neither activates nor raises it, so a message box over it
// keeps the focus) and refuses to be closed.
struct WindowKind {
    const char* className;
    bool interactive;
};
constexpr WindowKind DialogWindow{"TWardCfgUpWindow", true};

enum class Fill { Default, White, Black };

// A top-level window without system menu and sizing border, painted
// double-buffered, that keeps a result code for its buttons. The window is
// destroyed with this object, or earlier when the system closes it. It writes
// in the message font at the DPI of its monitor.
class TopLevelWindow {
public:
    TopLevelWindow(const std::string& title, Size client, const WindowKind& kind = DialogWindow);
    ~TopLevelWindow();
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    // Owner for the message boxes shown over this window.
    HWND Handle() const { return window_.get(); }
    bool Exists() const { return static_cast<bool>(window_); }
    const Font& TextFont() const { return font_; }
    // A length in pixels at 96 DPI, at the window's DPI.
    int Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }
    // What lays the window out afresh, sizing it, when it has come to a monitor
    // of another DPI: it is called with the children in the new font.
    void SetLayout(std::function<void()> layout) { layout_ = std::move(layout); }

    Size ClientSize() const;
    void SetClientSize(Size client);
    Size OuterSize() const;
    void MoveTo(int left, int top);
    void CentreOnScreen();
    void Show();
    // Paints what changed, children included, without waiting for the message loop.
    void PaintNow();

    // Children register how they are filled and, for buttons, their result code.
    void SetFill(HWND child, Fill fill);
    void SetButtonCode(HWND child, int code);
    // An owner-drawn child registers what draws it.
    using Drawing = std::function<void(HDC dc, const RECT& rect)>;
    void SetDrawing(HWND child, Drawing drawing);

    // Waits for and dispatches messages until the window is gone or a result
    // code is set; answers that code (0 when the window is gone) and resets it.
    int WaitForResult();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleKey(const MSG& message);
    LRESULT ChildColours(HDC dc, HWND child);
    void Paint();
    int ButtonCode(HWND child) const;
    void ChangeDpi(int dpi, const RECT& suggested);
    Size OuterFromClient(Size client) const;

    bool interactive_;
    Window window_;
    int dpi_ = DefaultDpi;
    Font font_;
    std::function<void()> layout_;
    GdiObject whiteBrush_;
    GdiObject blackBrush_;
    std::vector<std::pair<HWND, Fill>> fills_;
    std::vector<std::pair<HWND, int>> buttons_;
    std::vector<std::pair<HWND, Drawing>> drawings_;
    HWND savedFocus_ = nullptr;
    int resultCode_ = 0;
};

}  // namespace platform
