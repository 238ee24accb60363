// The control ids of the program's windows: the code creates each control
// with its id, and whoever drives a window (the tests, the box driver) finds
// the control with GetDlgItem, whatever order the controls were made in.
#pragma once

// The server settings dialog: a label and a field for each of its four rows,
// the buttons, the comment across the top and the line above the buttons.
enum ServerDialogControl : int {
    ServerLabelId = 101,
    ServerFieldId,
    NewHostLabelId,
    NewHostFieldId,
    LocationLabelId,
    LocationFieldId,
    ReserveLabelId,
    ReserveFieldId,
    AcceptButtonId,
    DeclineButtonId,
    CommentId,
    SeparatorId,
};

// The progress window: the notice, the status (step, file and count) and the bar.
enum ProgressWindowControl : int {
    ProgressNoticeId = 201,
    ProgressStatusId,
    ProgressBarId,
};
