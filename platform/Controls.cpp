#include "platform/Controls.h"

#include <algorithm>

namespace platform {

namespace {

// How far the open list of a DropDownList reaches below its field.
constexpr int DropDownHeight = 120;

std::string WindowText(HWND window)
{
    std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    int length = ::GetWindowTextA(window, &text[0], static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

}  // namespace

Control::Control(TopLevelWindow& parent, int id, const char* className, DWORD style, DWORD exStyle,
                 const std::string& text, const Bounds& bounds)
    : handle_(::CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, bounds.left,
                                bounds.top, bounds.width, bounds.height, parent.Handle(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr),
                                nullptr)),
      parent_(parent)
{
    ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(TextFont().Handle()), FALSE);
}

Bounds Control::GetBounds() const
{
    RECT rect{};
    ::GetWindowRect(handle_, &rect);
    ::MapWindowPoints(nullptr, parent_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Control::SetBounds(const Bounds& bounds)
{
    Bounds now = GetBounds();
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (now.width == bounds.width && now.height == bounds.height)
        flags |= SWP_NOSIZE;
    ::SetWindowPos(handle_, nullptr, bounds.left, bounds.top, bounds.width, bounds.height + hiddenHeight_, flags);
}

void Control::SetOne(int Bounds::*member, int value)
{
    Bounds bounds = GetBounds();
    bounds.*member = value;
    SetBounds(bounds);
}

void Control::SetLeft(int left)
{
    SetOne(&Bounds::left, left);
}

void Control::SetTop(int top)
{
    SetOne(&Bounds::top, top);
}

void Control::SetWidth(int width)
{
    SetOne(&Bounds::width, width);
}

void Control::SetHeight(int height)
{
    SetOne(&Bounds::height, height);
}

void Control::MoveDown(int distance)
{
    SetTop(GetBounds().top + distance);
}

std::string Control::Text() const
{
    return WindowText(handle_);
}

void Control::SetText(const std::string& text)
{
    ::SetWindowTextA(handle_, text.c_str());
}

void Control::SetFill(Fill fill)
{
    parent_.SetFill(handle_, fill);
}

void Control::Focus()
{
    ::SetFocus(handle_);
}

Label::Label(TopLevelWindow& parent, int id, const std::string& text, int left, int top)
    : Control(parent, id, "STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, text,
              {left, top, parent.TextFont().TextWidth(text), parent.TextFont().LineHeight()})
{
}

WrappingLabel::WrappingLabel(TopLevelWindow& parent, int id, const std::string& text, int left, int top,
                             int width)
    : Control(parent, id, "STATIC", SS_CENTER | SS_NOPREFIX, 0, text, {left, top, width, 0})
{
}

void WrappingLabel::GrowToText()
{
    SetHeight(TextFont().WrappedHeight(Text(), GetBounds().width));
}

EditField::EditField(TopLevelWindow& parent, int id, EditKind kind, const std::string& text, int left, int top,
                     int width)
    : Control(parent, id, "EDIT",
              kind == EditKind::Editable ? ES_AUTOHSCROLL | WS_TABSTOP : ES_READONLY | ES_CENTER,
              WS_EX_CLIENTEDGE, text, {left, top, width, parent.TextFont().LineHeight() + EditExtraHeight})
{
}

DropDownList::DropDownList(TopLevelWindow& parent, int id, int left, int top, int width, int height)
    : Control(parent, id, "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, "",
              {left, top, width, height + DropDownHeight})
{
    hiddenHeight_ = DropDownHeight;
    // The field's height follows the item height set for it, by a margin that
    // differs between systems (Wine reads back more than was set): correct the
    // value set by what is missing until the field fits.
    int itemHeight = static_cast<int>(::SendMessageA(handle_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        int missing = height - GetBounds().height;
        if (missing == 0)
            break;
        itemHeight += missing;
        ::SendMessageA(handle_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight);
    }
}

void DropDownList::Add(const std::string& item)
{
    ::SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int DropDownList::Selected() const
{
    return static_cast<int>(::SendMessageA(handle_, CB_GETCURSEL, 0, 0));
}

std::string DropDownList::SelectedText() const
{
    int index = Selected();
    if (index < 0)
        return std::string();
    int length = static_cast<int>(::SendMessageA(handle_, CB_GETLBTEXTLEN, index, 0));
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    length = static_cast<int>(::SendMessageA(handle_, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0])));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

Button::Button(TopLevelWindow& parent, int id, const std::string& caption, int resultCode, int left, int top)
    : Control(parent, id, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, caption,
              {left, top, parent.TextFont().TextWidth(caption) + 2 * ButtonMarginX,
               parent.TextFont().LineHeight() + 2 * ButtonMarginY})
{
    parent.SetButtonCode(handle_, resultCode);
}

Separator::Separator(TopLevelWindow& parent, int id, const Bounds& bounds)
    : Control(parent, id, "STATIC", 0, 0, "", bounds)
{
    SetFill(Fill::Black);
}

ProgressBar::ProgressBar(TopLevelWindow& parent, int id, const Bounds& bounds)
    : Control(parent, id, "STATIC", SS_OWNERDRAW, 0, "", bounds)
{
    parent.SetDrawing(handle_, [this](HDC dc, const RECT& rect) { Draw(dc, rect); });
}

void ProgressBar::SetPosition(int done, int total)
{
    done_ = done;
    total_ = total;
    ::InvalidateRect(handle_, nullptr, FALSE);
}

// Each pixel is painted once: frame, done part, the rest.
void ProgressBar::Draw(HDC dc, const RECT& rect) const
{
    ::FrameRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    int doneWidth = total_ > 0 ? ::MulDiv(inside.right - inside.left, std::min(done_, total_), total_) : 0;
    RECT done{inside.left, inside.top, inside.left + doneWidth, inside.bottom};
    RECT rest{done.right, inside.top, inside.right, inside.bottom};
    ::FillRect(dc, &done, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    ::FillRect(dc, &rest, ::GetSysColorBrush(COLOR_WINDOW));
}

}  // namespace platform
