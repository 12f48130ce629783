#pragma once
// A window stand-in for the controller tests: scripted answers and file
// choices, and a record of everything the controller showed.

#include "projectseams.h"

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace wharf::testing {

class FakeShell : public ProjectPrompts, public ProgressDisplay, public RecentFileList, public ProjectStateListener {
public:
    struct Message {
        MessageKind kind;
        MessageButtons buttons;
        std::string text;
    };

    // Answers for the message boxes, in order; an unscripted box answers Ok
    // for an OK box and Cancel otherwise.
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> openChoices;
    std::deque<std::optional<std::string>> saveChoices;
    // Makes every message box raise, as a failure in the middle of a read.
    bool throwOnMessage = false;

    std::vector<Message> messages;
    int openDialogs = 0;
    int saveDialogs = 0;
    std::vector<std::string> recentFiles;
    std::vector<int> progress;
    std::string panelText = "OK";
    std::vector<std::string> busyCaptions;
    bool busy = false;
    bool modified = false;
    std::string modifiedText;
    std::string title;
    int documentChanges = 0;

    MessageAnswer showMessage(MessageKind kind, MessageButtons buttons, const std::string &text) override
    {
        messages.push_back({kind, buttons, text});
        if (throwOnMessage)
            throw std::runtime_error("message box failed");
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }

    std::optional<std::string> chooseProjectToOpen() override
    {
        ++openDialogs;
        return take(openChoices);
    }

    std::optional<std::string> chooseProjectToSave() override
    {
        ++saveDialogs;
        return take(saveChoices);
    }

    void showProgress(int percent, const std::string &text) override
    {
        progress.push_back(percent);
        panelText = text;
    }

    void showBusy(BusyKind, const std::string &caption) override
    {
        busy = true;
        busyCaptions.push_back(caption);
    }

    void hideBusy() override { busy = false; }

    void AddRecentFile(const std::string &fileName) override { recentFiles.push_back(fileName); }

    void modifiedChanged(bool value, const std::string &text) override
    {
        modified = value;
        modifiedText = text;
    }

    void titleChanged(const std::string &text) override { title = text; }
    void documentReplaced() override { ++documentChanges; }

private:
    static std::optional<std::string> take(std::deque<std::optional<std::string>> &choices)
    {
        if (choices.empty())
            return std::nullopt;
        std::optional<std::string> choice = choices.front();
        choices.pop_front();
        return choice;
    }
};

} // namespace wharf::testing
