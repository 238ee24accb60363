// INI files written and read back for tests of the tunnel settings file.
#pragma once

#include <string>
#include <vector>

struct IniSection {
    std::string name;
    std::vector<std::string> lines;
};

// The sections as an INI text: "[name]" and its lines, CR LF after each.
std::string IniText(const std::vector<IniSection>& sections);

// The lines of a section as the system profile functions read them back,
// each followed by "\n".
std::string SectionText(const std::string& file, const std::string& section);
