#include "platform/Controls.h"

#include <algorithm>

namespace platform {

namespace {

// How far the open list of a DropDownList reaches below its field, at 96 DPI.
constexpr int DropDownHeight = 120;

}  // namespace

Control::Control(TopLevelWindow& parent, int id, const char* className, DWORD style, DWORD exStyle,
                 const std::string& text, UINT textCodePage)
    : handle_(CreateWindowShowing(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                  parent.Handle(), id, nullptr)),
      parent_(parent),
      textCodePage_(textCodePage)
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

void Control::MoveTo(int left, int top)
{
    Bounds bounds = GetBounds();
    SetBounds({left, top, bounds.width, bounds.height});
}

void Control::MoveDown(int distance)
{
    SetTop(GetBounds().top + distance);
}

std::string Control::Text() const
{
    return ShownText(handle_, textCodePage_);
}

void Control::SetText(const std::string& text)
{
    SetShownText(handle_, text);
}

void Control::SetFill(Fill fill)
{
    parent_.SetFill(handle_, fill);
}

void Control::Focus()
{
    ::SetFocus(handle_);
}

Label::Label(TopLevelWindow& parent, int id, const std::string& text)
    : Control(parent, id, "STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, text)
{
    FitToText();
}

void Label::FitToText()
{
    Bounds bounds = GetBounds();
    SetBounds({bounds.left, bounds.top, TextFont().TextWidth(Text()), TextFont().LineHeight()});
}

WrappingLabel::WrappingLabel(TopLevelWindow& parent, int id, const std::string& text)
    : Control(parent, id, "STATIC", SS_CENTER | SS_NOPREFIX, 0, text)
{
}

void WrappingLabel::GrowToText()
{
    SetHeight(TextFont().WrappedHeight(Text(), GetBounds().width));
}

EditField::EditField(TopLevelWindow& parent, int id, EditKind kind, const std::string& text)
    : Control(parent, id, "EDIT", kind == EditKind::Editable ? ES_AUTOHSCROLL | WS_TABSTOP : ES_READONLY | ES_CENTER,
              WS_EX_CLIENTEDGE, text,
              // The program fills the read-only kind; the user types into the other.
              kind == EditKind::Editable ? CP_ACP : ProgramCodePage)
{
    FitHeightToText();
}

void EditField::FitHeightToText()
{
    SetHeight(TextFont().LineHeight() + parent_.Scale(EditExtraHeight));
}

DropDownList::DropDownList(TopLevelWindow& parent, int id)
    : Control(parent, id, "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, "")
{
}

void DropDownList::FitHeight(int height)
{
    hiddenHeight_ = parent_.Scale(DropDownHeight);
    ::SetWindowPos(handle_, nullptr, 0, 0, GetBounds().width, height + hiddenHeight_,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    AddListItem(handle_, item);
}

int DropDownList::Selected() const
{
    return static_cast<int>(::SendMessageA(handle_, CB_GETCURSEL, 0, 0));
}

std::string DropDownList::SelectedText() const
{
    int index = Selected();
    return index < 0 ? std::string() : ListItem(handle_, index, textCodePage_);
}

Button::Button(TopLevelWindow& parent, int id, const std::string& caption, int resultCode)
    : Control(parent, id, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, caption)
{
    parent.SetButtonCode(handle_, resultCode);
    FitToCaption();
}

void Button::FitToCaption()
{
    Bounds bounds = GetBounds();
    SetBounds({bounds.left, bounds.top, TextFont().TextWidth(Text()) + 2 * parent_.Scale(ButtonMarginX),
               TextFont().LineHeight() + 2 * parent_.Scale(ButtonMarginY)});
}

Separator::Separator(TopLevelWindow& parent, int id) : Control(parent, id, "STATIC", 0, 0, "")
{
    SetFill(Fill::Black);
}

ProgressBar::ProgressBar(TopLevelWindow& parent, int id) : Control(parent, id, "STATIC", SS_OWNERDRAW, 0, "")
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
