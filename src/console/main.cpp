// zelvo.com, the console twin of zelvo.exe. Windows gives a window program no console, and a
// console does not wait for one: typed in a console, "zelvo list" finds this program first (.COM
// comes before .EXE), which runs zelvo.exe beside it on this console, waits, and hands back its
// exit code.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {
HANDLE child = nullptr;

// Ctrl-C reaches the console's programs only; the window program is ended with its caller, so the
// running copy finds the caller gone and does not carry the command out.
BOOL WINAPI onBreak(DWORD)
{
    if (child)
        TerminateProcess(child, 130);
    return FALSE;
}

// The command line after the program's own name, its leading space kept.
std::wstring arguments()
{
    const wchar_t* line = GetCommandLineW();
    if (*line == L'"') {
        line = wcschr(line + 1, L'"');
        line = line ? line + 1 : L"";
    } else {
        while (*line && *line != L' ' && *line != L'\t')
            ++line;
    }
    return line;
}
}

int wmain()
{
    wchar_t self[32768];
    const DWORD length = GetModuleFileNameW(nullptr, self, 32768);
    if (length < 4 || length >= 32768)
        return 1;
    std::wstring program(self, length - 4);
    program += L".exe";
    const std::wstring args = arguments();
    std::wstring command = L"\"" + program + L"\"" + args;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        fwprintf(stderr, L"zelvo: cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    // Without arguments the window program is the whole answer: the console is not held for it.
    if (args.find_first_not_of(L" \t") == std::wstring::npos) {
        CloseHandle(process.hProcess);
        return 0;
    }
    child = process.hProcess;
    SetConsoleCtrlHandler(onBreak, TRUE);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
}
