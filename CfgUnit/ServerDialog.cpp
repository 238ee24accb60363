#include "CfgUnit/ServerDialog.h"

#include "CfgUnit/Configurator.h"
#include "CfgUnit/ControlIds.h"
#include "CfgUnit/Messages.h"
#include "CfgUnit/UserInterface.h"
#include "common/FormatText.h"
#include "common/Text.h"
#include "platform/Controls.h"

#include <algorithm>
#include <memory>

using namespace platform;

namespace {

// In pixels at 96 DPI.
constexpr int Margin = 5;
constexpr int RowGap = 10;
constexpr int FieldWidth = 200;
constexpr int ListHeight = 22;
constexpr int AcceptCode = 1;
// The rows of the window, top to bottom.
enum RowIndex { ServerRow, NewHostRow, LocationRow, ReserveRow, RowCount };
constexpr int DeclineCode = 2;

// A server list line's value: section number|warden location|reserve location.
struct ServerLine {
    int section;
    std::string location;
    std::string reserve;
};

ServerLine ParseServerValue(const std::string& value)
{
    std::string::size_type first = value.find('|');
    std::string::size_type second = first == std::string::npos ? first : value.find('|', first + 1);
    ServerLine line;
    line.section = DecimalValue(value.substr(0, first));
    if (first != std::string::npos)
        line.location = value.substr(first + 1, second == std::string::npos ? second : second - first - 1);
    if (second != std::string::npos)
        line.reserve = value.substr(second + 1);
    return line;
}

// An address lacks its port when nothing follows its first ":".
bool LacksPort(const std::string& address)
{
    std::string::size_type colon = address.find(':');
    return colon == std::string::npos || colon + 1 == address.size();
}

class TServerDialog {
public:
    TServerDialog(TConfigurator& configurator, const StringList& servers);
    bool Run(int& chosenSection, int& targetSection);

private:
    struct Row {
        std::unique_ptr<Label> label;
        std::unique_ptr<Control> field;
    };

    std::string Caption(const char* key) const { return configurator_.DialogCaptions.ValueOf(key); }
    int Ask(const std::string& text, const char* caption, UINT style);

    void AddRows();
    std::unique_ptr<Control> MakeServerField();
    void Layout();
    int PlaceRows();
    int PlaceButtons(int y);
    int FitButtonsAndFields(int clientWidth);
    void PlaceCommentAndSeparator(int y, int clientWidth);

    std::string ChosenHost() const;
    bool ServerChosen();
    bool NewHostConfirmed(int& targetSection);
    bool RequiredFieldsFilled();
    bool PortsConfirmed();
    void StoreResults(int& chosenSection);
    void ReportMissing(const std::string& message);

    TConfigurator& configurator_;
    const StringList& servers_;
    TopLevelWindow window_;
    Row rows_[RowCount];
    DropDownList* serverList_ = nullptr;  // row 1 field with two or more servers
    EditField* serverHost_ = nullptr;     // row 1 field otherwise
    std::unique_ptr<Button> accept_;
    std::unique_ptr<Button> decline_;
    std::unique_ptr<WrappingLabel> comment_;
    std::unique_ptr<Separator> separator_;
};

TServerDialog::TServerDialog(TConfigurator& configurator, const StringList& servers)
    : configurator_(configurator), servers_(servers), window_(Caption("DialogCaption"), {300, 100})
{
    if (!window_.Exists())
        return;
    // Made in the order of the Tab key, then placed.
    AddRows();
    accept_ = std::make_unique<Button>(window_, AcceptButtonId, Caption("AcceptButtonCaption"), AcceptCode);
    decline_ = std::make_unique<Button>(window_, DeclineButtonId, Caption("DeclineButtonCaption"), DeclineCode);
    comment_ = std::make_unique<WrappingLabel>(window_, CommentId, Caption("CommentLabelText"));
    separator_ = std::make_unique<Separator>(window_, SeparatorId);
    Layout();
    window_.SetLayout([this] { Layout(); });
    window_.CentreOnScreen();
    window_.Show();
    rows_[NewHostRow].field->Focus();
}

void TServerDialog::AddRows()
{
    static const char* const labelKeys[RowCount] = {"OldWebServHostLabelCaption", "NewWebServHostLabelCaption",
                                                    "NewWardLocLabelCaption", "NewReserveWardLocLabelCaption"};
    static const int labelIds[RowCount] = {ServerLabelId, NewHostLabelId, LocationLabelId, ReserveLabelId};
    static const int fieldIds[RowCount] = {ServerFieldId, NewHostFieldId, LocationFieldId, ReserveFieldId};
    for (int i = ServerRow; i < RowCount; ++i) {
        Row& row = rows_[i];
        row.label = std::make_unique<Label>(window_, labelIds[i], Caption(labelKeys[i]));
        row.field = i == ServerRow ? MakeServerField()
                                   : std::make_unique<EditField>(window_, fieldIds[i], EditKind::Editable, "");
        row.field->SetFill(Fill::White);
    }
}

std::unique_ptr<Control> TServerDialog::MakeServerField()
{
    if (servers_.Count() < 2) {
        auto host = std::make_unique<EditField>(window_, ServerFieldId, EditKind::ReadOnlyCentred,
                                                servers_.Count() ? servers_.NameAt(0) : std::string());
        serverHost_ = host.get();
        return host;
    }
    auto list = std::make_unique<DropDownList>(window_, ServerFieldId);
    for (int i = 0; i < servers_.Count(); ++i)
        list->Add(servers_.NameAt(i));
    serverList_ = list.get();
    return list;
}

// Every element placed and sized for the window's DPI and font, and the window sized to them.
void TServerDialog::Layout()
{
    int y = PlaceRows();
    int clientWidth = rows_[ServerRow].field->GetBounds().Right() + window_.Scale(Margin);
    y = PlaceButtons(y);
    clientWidth = FitButtonsAndFields(clientWidth);
    PlaceCommentAndSeparator(y, clientWidth);
}

// The four labelled rows, fields aligned right of the widest label, each as
// high as the row 1 field as the system makes it; answers the top of the next row.
int TServerDialog::PlaceRows()
{
    if (serverList_)
        serverList_->FitHeight(window_.Scale(ListHeight));
    else
        serverHost_->FitHeightToText();
    const int fieldHeight = rows_[ServerRow].field->GetBounds().height;
    int y = window_.Scale(RowGap);
    int labelsRight = 0;
    for (Row& row : rows_) {
        row.label->FitToText();
        row.label->MoveTo(window_.Scale(Margin), y);
        Bounds label = row.label->GetBounds();
        y += std::max(fieldHeight, label.height) + window_.Scale(RowGap);
        labelsRight = std::max(labelsRight, label.Right());
    }
    for (Row& row : rows_) {
        Bounds label = row.label->GetBounds();
        row.field->SetBounds({labelsRight, label.top, window_.Scale(FieldWidth), fieldHeight});
    }
    return y;
}

// Both buttons on one row below the fields; answers the top of the next row.
int TServerDialog::PlaceButtons(int y)
{
    y += window_.Scale(RowGap);
    const int margin = window_.Scale(Margin);
    accept_->FitToCaption();
    decline_->FitToCaption();
    accept_->MoveTo(margin, y);
    decline_->MoveTo(accept_->GetBounds().Right() + margin, y);
    return y + decline_->GetBounds().height + window_.Scale(RowGap);
}

// Buttons of one width, spread evenly, widen the window when they need it;
// the fields then reach to the right margin. Answers the client width.
int TServerDialog::FitButtonsAndFields(int clientWidth)
{
    const int margin = window_.Scale(Margin);
    int width = std::max(accept_->GetBounds().width, decline_->GetBounds().width);
    clientWidth = std::max(clientWidth, 2 * width + 3 * margin);
    accept_->SetWidth(width);
    decline_->SetWidth(width);
    int gap = RoundHalfEven(clientWidth - 2 * width, 3);
    accept_->SetLeft(gap);
    decline_->SetLeft(gap + width + gap);
    for (Row& row : rows_)
        row.field->SetWidth(clientWidth - margin - row.field->GetBounds().left);
    return clientWidth;
}

// The comment goes across the top and pushes everything else down.
void TServerDialog::PlaceCommentAndSeparator(int y, int clientWidth)
{
    comment_->SetBounds({0, 0, clientWidth, 0});
    comment_->GrowToText();
    int shift = comment_->GetBounds().height;
    for (Row& row : rows_) {
        row.label->MoveDown(shift);
        row.field->MoveDown(shift);
    }
    accept_->MoveDown(shift);
    decline_->MoveDown(shift);
    int clientHeight = y + shift;
    window_.SetClientSize({clientWidth, clientHeight});
    int buttonHeight = decline_->GetBounds().height;
    separator_->SetBounds(
        {0, clientHeight - buttonHeight - 2 * window_.Scale(RowGap), clientWidth, window_.Scale(1)});
}

int TServerDialog::Ask(const std::string& text, const char* caption, UINT style)
{
    return UserInterface().ShowMessageBox(window_.Handle(), text, caption, style);
}

bool TServerDialog::Run(int& chosenSection, int& targetSection)
{
    // A host confirmed in an earlier round must not decide the target of a later one.
    const int targetAtStart = targetSection;
    while (window_.WaitForResult() == AcceptCode) {
        targetSection = targetAtStart;
        if (ServerChosen() && NewHostConfirmed(targetSection) && RequiredFieldsFilled() && PortsConfirmed()) {
            StoreResults(chosenSection);
            return true;
        }
    }
    return false;
}

std::string TServerDialog::ChosenHost() const
{
    return serverList_ ? serverList_->SelectedText() : rows_[ServerRow].field->Text();
}

// Without a choice among several servers there is no section to copy.
bool TServerDialog::ServerChosen()
{
    if (!serverList_ || serverList_->Selected() >= 0)
        return true;
    serverList_->Focus();
    ReportMissing(FormatText(configurator_.ERROR_NOT_FILL_DIALOG_FIELD,
                             {Caption("OldWebServHostLabelCaption"), Caption("AcceptButtonCaption")}));
    return false;
}

// A new host that a listed server already has replaces that server's section, once the user confirms.
bool TServerDialog::NewHostConfirmed(int& targetSection)
{
    std::string host = rows_[NewHostRow].field->Text();
    int index = servers_.IndexOfName(host);
    if (host.empty() || index < 0)
        return true;
    std::string field = Caption("NewWebServHostLabelCaption");
    if (Ask(FormatText(configurator_.WARNING_NEW_WEBHOST_EXISTS, {field, host, field}), Box::Attention,
            Box::QuestionStyle) != IDOK)
        return false;
    targetSection = ParseServerValue(servers_.ValueAt(index)).section;
    return true;
}

bool TServerDialog::RequiredFieldsFilled()
{
    std::vector<std::string> missing;
    for (int row : {NewHostRow, LocationRow}) {
        if (!rows_[row].field->Text().empty())
            continue;
        if (missing.empty())
            rows_[row].field->Focus();
        missing.push_back(Caption(row == NewHostRow ? "NewWebServHostLabelCaption" : "NewWardLocLabelCaption"));
    }
    if (missing.empty())
        return true;
    std::string accept = Caption("AcceptButtonCaption");
    ReportMissing(missing.size() == 1
                      ? FormatText(configurator_.ERROR_NOT_FILL_DIALOG_FIELD, {missing[0], accept})
                      : FormatText(configurator_.ERROR_NOT_FILL_DIALOG_FIELDS,
                                   {missing[0] + "\r\n" + missing[1] + "\r\n", accept}));
    return false;
}

void TServerDialog::ReportMissing(const std::string& message)
{
    configurator_.WriteLog("Not fill edit contols in dialog: " + message);
    Ask(message, Box::Error, Box::ErrorStyle);
}

bool TServerDialog::PortsConfirmed()
{
    auto confirmed = [this](const char* captionKey, const std::string& address) {
        return !LacksPort(address) ||
               Ask(FormatText(configurator_.ASK_FOR_EMPTY_WARDEN_PORT, {Caption(captionKey), address}),
                   Box::Attention, Box::QuestionStyle) == IDOK;
    };
    std::string location = rows_[LocationRow].field->Text();
    std::string reserve = rows_[ReserveRow].field->Text();
    return confirmed("NewWardLocLabelCaption", location) &&
           (reserve.empty() || confirmed("NewReserveWardLocLabelCaption", reserve));
}

void TServerDialog::StoreResults(int& chosenSection)
{
    std::string chosenHost = ChosenHost();
    std::string location = rows_[LocationRow].field->Text();
    std::string reserve = rows_[ReserveRow].field->Text();
    configurator_.WebServersHosts.Add(chosenHost + "=" + rows_[NewHostRow].field->Text());
    int index = servers_.Count() == 1 ? 0 : servers_.IndexOfName(chosenHost);
    if (index < 0)
        return;
    ServerLine chosen = ParseServerValue(servers_.ValueAt(index));
    chosenSection = chosen.section;
    configurator_.WardLocations.Add(chosen.location + "=" + location);
    if (!chosen.reserve.empty())
        configurator_.WardLocations.Add(chosen.reserve + "=" + (reserve.empty() ? location : reserve));
}

}  // namespace

bool RunServerDialog(TConfigurator& configurator, StringList& servers, int& chosenSection, int& targetSection)
{
    TServerDialog dialog(configurator, servers);
    return dialog.Run(chosenSection, targetSection);
}

bool TConfigurator::ShowNewWebHostDialog(StringList& servers, int& chosenSection, int& targetSection)
{
    return UserInterface().NewWebHostDialog(*this, servers, chosenSection, targetSection);
}
