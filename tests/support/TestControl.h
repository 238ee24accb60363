// Registry and file helpers for tests with the stand-in controls
// (testcontrol_*.ocx, see fixtures/testcontrol.cmake).
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

// A class identifier no other test uses; its HKEY_CLASSES_ROOT\CLSID entry,
// with everything under it, is removed at the end.
class ScratchClsid {
public:
    ScratchClsid();
    ~ScratchClsid();
    ScratchClsid(const ScratchClsid&) = delete;
    ScratchClsid& operator=(const ScratchClsid&) = delete;

    const std::string& Braced() const { return braced_; }  // {XXXXXXXX-...}
    std::string Bare() const { return braced_.substr(1, braced_.size() - 2); }
    std::string ServerKey() const { return "CLSID\\" + braced_ + "\\InprocServer32"; }

private:
    std::string braced_;
};

// A journal key of its own under HKEY_LOCAL_MACHINE: in-process update runs
// never meet the journal of the program's end-to-end runs beside them.
std::string ScratchJournalKey();

// Writes a value of any type and bytes under HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER,
// as a program of the user could (the key is made when missing).
void SetRegistryValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                      const std::string& bytes);

// Writes the default value of the class's InprocServer32 key: the text and its zero byte.
void SetServerValue(const ScratchClsid& clsid, const std::string& value, DWORD type = REG_SZ);

// Reads the default value of the class's InprocServer32 key straight from the
// registry; false when the key or the value is missing.
bool ReadServerValue(const ScratchClsid& clsid, std::string& value);

// Copies bin\testcontrol_<variant>.ocx to directory + name and writes the
// directory's testcontrol.clsid; answers the copy's full name.
std::string InstallTestControl(const std::string& variant, const std::string& directory, const std::string& name,
                               const ScratchClsid& clsid);

// The file holds exactly the test control of that version.
::testing::AssertionResult HoldsControl(const std::string& path, const std::string& version);
