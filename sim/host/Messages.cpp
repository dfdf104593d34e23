// The host's texts for the user. Look-ups read the message file that the script
// named; modal messages are not shown to anybody but recorded, and answered from
// a queue of scripted answers. With no answer queued the message counts as not
// shown, as when the host cannot show a modal message.
#include "TrtMessages.h"

#include "Internal.h"
#include "Journal.h"
#include "SimControl.h"

#include <cctype>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Results of GoDoMessageReturn besides 0 (shown).
constexpr int MESSAGE_NOT_SHOWN = 1;
constexpr int MESSAGE_NO_SUCH_BUTTON = 2;

std::mutex messagesMutex;
std::string messageFile;
std::deque<std::string> answers;

bool lookUp(const std::string& file, int number, std::string& text)
{
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        char* end = nullptr;
        long found = std::strtol(line.c_str(), &end, 10);
        if (end == line.c_str() + equals && found == number) {
            text = line.substr(equals + 1);
            return true;
        }
    }
    return false;
}

bool sameLabel(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The button number (from 1) that a scripted answer names, or 0 for none.
int chooseButton(const std::string& answer, const std::vector<std::string>& buttons)
{
    char* end = nullptr;
    long number = std::strtol(answer.c_str(), &end, 10);
    if (!answer.empty() && *end == '\0')
        return number >= 1 && number <= static_cast<long>(buttons.size()) ? int(number) : 0;
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (sameLabel(buttons[i], answer))
            return static_cast<int>(i) + 1;
    return 0;
}

bool takeAnswer(std::string& answer)
{
    std::lock_guard<std::mutex> lock(messagesMutex);
    if (answers.empty())
        return false;
    answer = answers.front();
    answers.pop_front();
    return true;
}

}  // namespace

UtCString TrtMsgGet(const UtCString& file, int number, const UtCString& fallback)
{
    std::string path;
    {
        std::lock_guard<std::mutex> lock(messagesMutex);
        path = messageFile;
    }
    std::string text;
    if (!path.empty() && lookUp(path, number, text))
        return UtCString(text);
    return fallback;
}

int GoDoMessageReturn(const UtCString& caption, const UtCString& text, const UtCString& slot1,
                      const UtCString& slot2, const UtCString& slot3, const UtCString& slot4,
                      const UtCString& slot5, unsigned short& answer)
{
    std::vector<std::string> buttons;
    sim::Json texts = sim::Json::array();
    for (const UtCString* slot : {&slot1, &slot2, &slot3, &slot4, &slot5}) {
        texts.push(slot->string());
        if (!slot->empty())
            buttons.push_back(slot->string());
    }
    sim::Json message = sim::Json::object();
    message.set("caption", caption.string());
    message.set("text", text.string());
    message.set("texts", texts);

    int result = MESSAGE_NOT_SHOWN;
    std::string scripted;
    if (takeAnswer(scripted)) {
        int button = chooseButton(scripted, buttons);
        if (button > 0) {
            answer = static_cast<unsigned short>(button);
            message.set("answer", button);
            message.set("label", buttons[static_cast<std::size_t>(button) - 1]);
            result = 0;
        } else {
            message.set("error", "no button '" + scripted + "'");
            result = MESSAGE_NO_SUCH_BUTTON;
        }
    } else {
        message.set("answer", sim::Json());
    }
    message.set("shown", result == 0);
    sim::Journal::instance().addMessage(std::move(message));
    return result;
}

namespace sim {

void SetMessageFile(const std::string& path)
{
    std::lock_guard<std::mutex> lock(messagesMutex);
    messageFile = path;
}

void QueueAnswer(const std::string& button)
{
    std::lock_guard<std::mutex> lock(messagesMutex);
    answers.push_back(button);
}

void ClearAnswers()
{
    std::lock_guard<std::mutex> lock(messagesMutex);
    answers.clear();
}

std::size_t PendingAnswers()
{
    std::lock_guard<std::mutex> lock(messagesMutex);
    return answers.size();
}

}  // namespace sim
