// Child controls of a TopLevelWindow, in the window's font. Each control is
// destroyed with its window; these objects only address it. Each has the
// control id it was created with, by which GetDlgItem finds it. Controls are
// made first and placed after, by the layout of their window, which can place
// them again when the window's DPI changes.
#pragma once

#include "platform/ShownText.h"
#include "platform/Window.h"

#include <string>

namespace platform {

// In pixels at 96 DPI, scaled to the window's DPI:
// space between a button's caption and its edges, on each side;
constexpr int ButtonMarginX = 12;
constexpr int ButtonMarginY = 5;
// what a one-line edit field adds to the height of its text (frame and margins).
constexpr int EditExtraHeight = 8;

class Control {
public:
    // Controls are owned through std::unique_ptr<Control> as well.
    virtual ~Control() = default;

    Bounds GetBounds() const;  // in the client area of the window
    void SetBounds(const Bounds& bounds);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    void MoveTo(int left, int top);
    void MoveDown(int distance);

    // The program's own text in its code page; what the user typed into a
    // field as the ANSI call gives it, in the system's code page.
    std::string Text() const;
    void SetText(const std::string& text);
    void SetFill(Fill fill);
    void Focus();

protected:
    Control(TopLevelWindow& parent, int id, const char* className, DWORD style, DWORD exStyle,
            const std::string& text, UINT textCodePage = ProgramCodePage);
    const Font& TextFont() const { return parent_.TextFont(); }
    // Changes one of the bounds and keeps the others.
    void SetOne(int Bounds::*member, int value);
    HWND handle_;
    TopLevelWindow& parent_;
    UINT textCodePage_;
    // Window height below the visible bounds (the open list of a drop-down list).
    int hiddenHeight_ = 0;
};

// One line of text; the label is as large as its text.
class Label : public Control {
public:
    Label(TopLevelWindow& parent, int id, const std::string& text);
    // As large as its text in the window's font of now.
    void FitToText();
};

// Text centred and word-wrapped in the width it is given.
class WrappingLabel : public Control {
public:
    WrappingLabel(TopLevelWindow& parent, int id, const std::string& text);
    // The height becomes what the wrapped text needs at the current width.
    void GrowToText();
};

enum class EditKind { Editable, ReadOnlyCentred };

// One line of text; tall enough for it. The read-only kind takes no focus
// from the Tab key and does not scroll. What the user types into the editable
// kind is read in the system's code page.
class EditField : public Control {
public:
    EditField(TopLevelWindow& parent, int id, EditKind kind, const std::string& text);
    // Tall enough for a line in the window's font of now.
    void FitHeightToText();
};

// A drop-down list that cannot be edited, in the order its items are added.
class DropDownList : public Control {
public:
    DropDownList(TopLevelWindow& parent, int id);
    // The field as high as that, whatever height the system gives it for its font.
    void FitHeight(int height);
    void Add(const std::string& item);
    int Selected() const;  // -1 when nothing is selected
    std::string SelectedText() const;
};

// A push button that sets the window's result code when pressed; as large as its caption.
class Button : public Control {
public:
    Button(TopLevelWindow& parent, int id, const std::string& caption, int resultCode);
    // As large as its caption in the window's font of now.
    void FitToCaption();
};

// A black line.
class Separator : public Control {
public:
    Separator(TopLevelWindow& parent, int id);
};

// A bar in a frame, filled from the left to the part done; drawn by the
// program, which takes nothing from the common controls.
class ProgressBar : public Control {
public:
    ProgressBar(TopLevelWindow& parent, int id);
    ProgressBar(const ProgressBar&) = delete;  // the window draws it through this object
    ProgressBar& operator=(const ProgressBar&) = delete;
    void SetPosition(int done, int total);

private:
    void Draw(HDC dc, const RECT& rect) const;
    int done_ = 0;
    int total_ = 0;
};

}  // namespace platform
