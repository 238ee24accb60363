#pragma once

#include "platform/Owner.h"

#include <string>
#include <vector>

// A folder of the plan's own for the scratch copy of the settings file. The
// program runs elevated and deletes what it made there, so no program of the
// user may swap the folder for a link to another: it is made new in the
// Windows folder's Temp, where users may make folders but not rename or
// delete those of others, with access for the administrators alone; it is
// held open without delete sharing while the plan works in it, and checked to
// be the empty folder it made and no link. Its files go while it is held, on
// every way out; the folder itself goes last, by name, which can take an
// empty folder or a link in its place, never what either holds. The 9x
// family, which has no users to tell apart, opens no folder: there the folder
// is used as made.
class TScratchFolder {
public:
    // The folder made under parent (the Windows folder's Temp); none when parent is empty.
    explicit TScratchFolder(const std::string& parent);
    ~TScratchFolder();  // its hold makes it one of a kind: neither copied nor moved

    bool Made() const { return !path_.empty(); }
    // A file of that name in the folder, deleted with it.
    std::string File(const std::string& name);

private:
    std::string path_;
    platform::FileHandle held_;
    std::vector<std::string> files_;
};
