// The message catalogue: every text the program shows, with the key that
// replaces it in the scenario's [Messages], and the dialog captions.
#pragma once

#include "CfgUnit/Configurator.h"

struct TMessageKey {
    const char* Key;
    std::string TConfigurator::*Text;
    const char* BuiltIn;
};

constexpr int MessageKeyCount = 22;
extern const TMessageKey MessageKeys[MessageKeyCount];

extern const char* const ConfigNotFoundTextBuiltIn;
extern const char* const UsageTextBuiltIn;
// The box of an update run started while another one is in progress (fixed, like the usage text).
extern const char* const UpdateInProgressText;
// The box of an update that a program with the bank's key refuses (fixed too).
extern const char* const UpdateRefusedText;

struct TCaptionKey {
    const char* Key;
    const char* BuiltIn;
    bool LineBreaks = false;  // "\n" in the scenario's value is a line break
};

constexpr int DialogCaptionCount = 8;
extern const TCaptionKey DialogCaptionKeys[DialogCaptionCount];

// Message boxes: the captions and styles of the catalogue's kinds of box.
namespace Box {
constexpr const char* Error = "Error";
constexpr const char* Warning = "Warning";
constexpr const char* Information = "Information";
constexpr const char* Attention = "Внимание";        // questions: OK goes on
constexpr const char* AttentionRetry = "Внимание!";  // COPY_ERROR: OK tries again
constexpr UINT ErrorStyle = MB_OK | MB_ICONERROR;
constexpr UINT WarningStyle = MB_OK | MB_ICONWARNING;
constexpr UINT InformationStyle = MB_OK | MB_ICONINFORMATION;
constexpr UINT QuestionStyle = MB_OKCANCEL | MB_ICONQUESTION;
constexpr UINT RetryStyle = MB_OKCANCEL | MB_ICONWARNING;
}  // namespace Box

// [Messages] values hold no line breaks: CR LF is written as the two characters "\n".
std::string EscapeLineBreaks(const std::string& text);
std::string UnescapeLineBreaks(const std::string& text);
