#pragma once
// Starting the viewer with its first-frame report (`--first-frame FILE`,
// plus `--no-skin` for a run with skinning off) and reading what it wrote:
// one key=value line per figure. For the start-up benchmark and its test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace qv {

// The report's figures by key; empty when the viewer did not start or wrote
// none. A viewer still running after `waitMs` is ended; `exitWait` gets what
// the wait for it returned.
inline std::map<std::string, double> RunViewerReport(const std::wstring& exe, bool skinned,
                                                     const std::wstring& report, DWORD waitMs,
                                                     DWORD* exitWait = nullptr) {
    DeleteFileW(report.c_str());
    std::wstring cmd = L"\"" + exe + L"\" --first-frame \"" + report + L"\"" + (skinned ? L"" : L" --no-skin");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::map<std::string, double> out;
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return out;
    const DWORD wait = WaitForSingleObject(pi.hProcess, waitMs);
    if (exitWait) *exitWait = wait;
    if (wait != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (FILE* in = _wfopen(report.c_str(), L"r")) {
        char line[256];
        while (std::fgets(line, sizeof(line), in)) {
            const std::string l = line;
            if (auto eq = l.find('='); eq != std::string::npos) out[l.substr(0, eq)] = std::atof(l.c_str() + eq + 1);
        }
        std::fclose(in);
    }
    return out;
}

}  // namespace qv
