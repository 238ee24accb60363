// uidriver: runs a program and answers its message boxes from a script,
// printing each box, and each view of the progress window, in UTF-8.
//   uidriver [--timeout MS] [--answers OK,CANCEL,...] [--cwd DIR] -- COMMAND LINE
// Exit code: the program's, 254 when it was killed at the time bound, 253 when
// a box had no scripted answer (it was answered Cancel).
#include "support/BoxDriver.h"

#include <cstdio>
#include <cstring>
#include <string>

static std::vector<Answer> ParseAnswers(const std::string& list)
{
    std::vector<Answer> answers;
    std::string::size_type from = 0;
    while (from <= list.size() && !list.empty()) {
        std::string::size_type comma = list.find(',', from);
        std::string word = list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        answers.push_back(word == "OK" || word == "ok" ? Answer::Ok : Answer::Cancel);
        if (comma == std::string::npos)
            break;
        from = comma + 1;
    }
    return answers;
}

// The arguments after "--" joined by blanks, each as it arrived: pass the
// whole command line as one argument to keep its quotes exactly.
static std::string TailCommandLine(int argc, char** argv)
{
    std::string line;
    int i = 1;
    while (i < argc && std::strcmp(argv[i], "--") != 0)
        ++i;
    for (++i; i < argc; ++i)
        line += (line.empty() ? "" : " ") + std::string(argv[i]);
    return line;
}

int main(int argc, char** argv)
{
    DWORD timeout = 120000;
    std::vector<Answer> answers;
    std::string cwd;
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        std::string option = argv[i];
        if (option == "--timeout" && i + 1 < argc)
            timeout = std::stoul(argv[++i]);
        else if (option == "--answers" && i + 1 < argc)
            answers = ParseAnswers(argv[++i]);
        else if (option == "--cwd" && i + 1 < argc)
            cwd = argv[++i];
    }
    std::string command = TailCommandLine(argc, argv);
    if (command.empty()) {
        std::fprintf(stderr, "usage: uidriver [--timeout MS] [--answers OK,CANCEL] [--cwd DIR] -- COMMAND\n");
        return 2;
    }
    ProgramRunResult run = RunAndDriveBoxes(command, cwd, answers, timeout);
    if (!run.started) {
        std::fprintf(stderr, "uidriver: cannot start %s\n", command.c_str());
        return 2;
    }
    std::size_t shown = 0;
    auto printProgressBefore = [&](std::size_t boxes) {
        for (; shown < run.progress.size() && run.progress[shown].boxesBefore <= boxes; ++shown) {
            const std::vector<std::string>& lines = run.progress[shown].lines;
            std::printf("--- Progress window:");
            for (std::size_t l = 1; l < lines.size(); ++l)  // after the notice, which stays
                std::printf("%s%s", l > 1 ? " | " : " ", lines[l].c_str());
            std::printf("\n");
        }
    };
    for (std::size_t b = 0; b < run.boxes.size(); ++b) {
        printProgressBefore(b);
        const BoxRecord& box = run.boxes[b];
        std::printf("--- Box \"%s\" [", box.caption.c_str());
        for (std::size_t i = 0; i < box.buttons.size(); ++i)
            std::printf("%s%s", i ? " " : "", box.buttons[i].c_str());
        std::printf("] answered %s%s\n%s\n", box.answer.c_str(), box.scripted ? "" : " (not in the script)",
                    box.text.c_str());
    }
    printProgressBefore(run.boxes.size());
    std::fflush(stdout);
    if (!run.finished)
        return 254;
    if (run.unscripted > 0)
        return 253;
    return static_cast<int>(run.exitCode);
}
