// The progress window, which shows what the update reports of its cycle.
#pragma once

#include "CfgUnit/Progress.h"

#include <memory>

// The window itself: a top-level window of the class "WardCfgUpProgress",
// disabled and not to be closed by the user, in the server dialog's font and
// centred like it. It appears with the first state shown.
class TProgressWindow {
public:
    TProgressWindow();
    ~TProgressWindow();
    void Show(const TProgressState& state);

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};
