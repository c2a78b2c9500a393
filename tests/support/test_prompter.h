// Answers the application's message boxes and exception reports for tests,
// and remembers them.
#pragma once

#include "forms/application.h"

#include <string>
#include <vector>

namespace trevik::testing {

class TestPrompter final : public forms::Prompter {
public:
    struct Box {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT flags;
    };

    int ShowMessageBox(HWND owner, std::wstring_view text, std::wstring_view caption,
                       UINT flags) override {
        boxes.push_back({owner, std::wstring(text), std::wstring(caption), flags});
        return IDOK;
    }
    void ShowException(HWND owner, std::wstring_view title, std::wstring_view message) override {
        exceptionOwners.push_back(owner);
        exceptionTitles.emplace_back(title);
        exceptions.emplace_back(message);
    }

    std::vector<Box> boxes;
    std::vector<HWND> exceptionOwners;
    std::vector<std::wstring> exceptionTitles;
    std::vector<std::wstring> exceptions;
};

} // namespace trevik::testing
