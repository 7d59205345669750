#pragma once
// Stands in for the user's browser during a test: registers url_recorder.exe
// as the handler of http addresses in the test prefix, and puts the previous
// handler back when it goes. The recorder writes the address it was given to
// %TEMP%\qs-url-recorder.txt.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace qs::test {

class UrlRecorder {
public:
    UrlRecorder() {
        std::string recorder = "Z:" URL_RECORDER_UNIX_PATH;
        for (auto& c : recorder)
            if (c == '/') c = '\\';
        std::string command = "\"" + recorder + "\" \"%1\"";
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof previous_;
        hadPrevious_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(previous_), &size) ==
                       ERROR_SUCCESS;
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       DWORD(command.size() + 1));
        char tmp[MAX_PATH];
        GetTempPathA(MAX_PATH, tmp);
        out_ = std::string(tmp) + "qs-url-recorder.txt";
        DeleteFileA(out_.c_str());
    }
    ~UrlRecorder() {
        if (!key_) return;
        if (hadPrevious_)
            RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_),
                           DWORD(strlen(previous_) + 1));
        RegCloseKey(key_);
        DeleteFileA(out_.c_str());
    }
    bool registered() const { return key_ != nullptr; }
    // The address the recorder received, waiting up to five seconds for it.
    std::string waitForUrl() const {
        for (int i = 0; i < 100; ++i) {
            if (FILE* f = fopen(out_.c_str(), "rb")) {
                char buf[1024] = {};
                size_t n = fread(buf, 1, sizeof buf - 1, f);
                fclose(f);
                if (n > 0) return std::string(buf, n);
            }
            Sleep(50);
        }
        return {};
    }

private:
    HKEY key_ = nullptr;
    char previous_[1024] = {};
    bool hadPrevious_ = false;
    std::string out_;
};

}  // namespace qs::test
