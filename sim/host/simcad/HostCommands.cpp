// simcad commands that set up the host: its environment, message file, scripted
// answers, product variant, and files on disk.
#include "Script.h"

#include "SimControl.h"
#include "Tokens.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace simcad {

namespace {

CommandResult setEnvironment(Script& script, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: env NAME=VALUE | env -NAME");
    std::string setting = Unquote(words[1]);
    if (!setting.empty() && setting[0] == '-') {
        std::string name = setting.substr(1);
        SetEnvironmentVariableA(name.c_str(), nullptr);
        script.shownEnvironment().insert(name);
        return CommandResult::Ok("removed " + name);
    }
    std::size_t equals = setting.find('=');
    if (equals == std::string::npos || equals == 0)
        return CommandResult::Error("usage: env NAME=VALUE | env -NAME");
    std::string name = setting.substr(0, equals);
    SetEnvironmentVariableA(name.c_str(), setting.c_str() + equals + 1);
    script.shownEnvironment().insert(name);
    return CommandResult::Ok(setting);
}

CommandResult setMessageFile(Script&, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: messages PATH");
    std::string path = Unquote(words[1]);
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(path)))
        return CommandResult::Error("no message file " + path);
    sim::SetMessageFile(path);
    return CommandResult::Ok(path);
}

CommandResult queueAnswer(Script&, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: answer N|LABEL");
    sim::QueueAnswer(Unquote(words[1]));
    return CommandResult::Ok("next message answered with " + Unquote(words[1]));
}

CommandResult setMode2d(Script&, const Words& words)
{
    if (words.size() != 2 || (words[1] != "on" && words[1] != "off"))
        return CommandResult::Error("usage: mode2d on|off");
    sim::SetMode2d(words[1] == "on");
    return CommandResult::Ok(words[1]);
}

// file PATH [TEXT]: writes TEXT (empty when left out) to PATH, making its folders.
CommandResult writeFile(Script&, const Words& words)
{
    if (words.size() < 2 || words.size() > 3)
        return CommandResult::Error("usage: file PATH [TEXT]");
    std::filesystem::path path = std::filesystem::u8path(Unquote(words[1]));
    std::error_code error;
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (words.size() == 3)
        out << Unquote(words[2]);
    if (!out)
        return CommandResult::Error("cannot write " + path.u8string());
    return CommandResult::Ok(path.u8string());
}

// remove PATH: deletes a file, or a folder with everything in it.
CommandResult removePath(Script&, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: remove PATH");
    std::error_code error;
    std::uintmax_t removed = std::filesystem::remove_all(std::filesystem::u8path(Unquote(words[1])), error);
    if (error)
        return CommandResult::Failed("cannot remove " + Unquote(words[1]) + ": " + error.message());
    return CommandResult::Ok("removed " + std::to_string(removed));
}

// start COMMAND LINE: starts a program as the user would by hand, without waiting
// for it; the words are passed on as they stand, quotes included.
CommandResult startProgram(Script&, const Words& words)
{
    if (words.size() < 2)
        return CommandResult::Error("usage: start COMMAND LINE");
    std::string commandLine;
    for (std::size_t i = 1; i < words.size(); ++i)
        commandLine += (i > 1 ? " " : "") + words[i];
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return CommandResult::Error("cannot start: error " + std::to_string(GetLastError()));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return CommandResult::Ok("started process " + std::to_string(process.dwProcessId));
}

CommandResult echo(Script&, const Words& words)
{
    std::string text;
    for (std::size_t i = 1; i < words.size(); ++i)
        text += (i > 1 ? " " : "") + Unquote(words[i]);
    return CommandResult::Ok(text);
}

}  // namespace

void AddHostCommands(std::map<std::string, Command>& commands)
{
    commands["env"] = setEnvironment;
    commands["messages"] = setMessageFile;
    commands["answer"] = queueAnswer;
    commands["mode2d"] = setMode2d;
    commands["file"] = writeFile;
    commands["echo"] = echo;
    commands["remove"] = removePath;
    commands["start"] = startProgram;
}

}  // namespace simcad
