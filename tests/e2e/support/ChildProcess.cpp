#include "ChildProcess.h"

namespace {

HANDLE inheritableFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Quoted as the C runtime splits a command line: backslashes count only before a quote,
// so a folder's closing backslash is doubled to keep the closing quote.
std::string quoted(const std::string& argument) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
        } else {
            if (c == '"')
                text.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        text += c;
    }
    return text.append(backslashes, '\\') + "\"";
}

std::string commandLine(const std::string& program, const std::vector<std::string>& arguments) {
    std::string line = quoted(program);
    for (const std::string& argument : arguments)
        line += " " + quoted(argument);
    return line;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    HANDLE out = inheritableFile(m_streams.file("out.txt"));
    HANDLE err = inheritableFile(m_streams.file("err.txt"));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    std::string line = commandLine(program, arguments);
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &m_process)) {
        m_process = {};
    }
    CloseHandle(out);
    CloseHandle(err);
}

ChildProcess::~ChildProcess() {
    if (!started())
        return;
    if (!wait(std::chrono::milliseconds(0))) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, INFINITE);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

std::optional<DWORD> ChildProcess::wait(std::chrono::milliseconds timeout) {
    if (WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

std::string programFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}
