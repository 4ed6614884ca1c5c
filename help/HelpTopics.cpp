#include "help/HelpTopics.h"

#include <algorithm>
#include <cwctype>

namespace help {

namespace {

std::wstring Trim(const std::wstring& text) {
    size_t first = text.find_first_not_of(L" \t\r");
    if (first == std::wstring::npos) return std::wstring();
    size_t last = text.find_last_not_of(L" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(Trim(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start)));
        if (end == std::wstring::npos) return parts;
        start = end + 1;
    }
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return text;
}

bool Contains(const std::wstring& text, const std::wstring& lowerKeyword) {
    return Lower(text).find(lowerKeyword) != std::wstring::npos;
}

}  // namespace

std::vector<Topic> ParseTopics(const std::wstring& source) {
    std::vector<Topic> topics;
    std::vector<std::wstring> body;
    auto finishBody = [&] {
        if (topics.empty()) return;
        while (!body.empty() && body.back().empty()) body.pop_back();
        std::wstring joined;
        for (size_t i = 0; i < body.size(); ++i) joined += (i ? L"\r\n" : L"") + body[i];
        topics.back().body = joined;
        body.clear();
    };
    for (const std::wstring& rawLine : Split(source, L'\n')) {
        std::wstring line = rawLine;
        if (!line.empty() && line.front() == L'#') continue;
        if (line.rfind(L"@@", 0) == 0) {
            finishBody();
            std::vector<std::wstring> fields = Split(line.substr(2), L'|');
            fields.resize(4);
            Topic topic;
            topic.name = fields[0];
            topic.context = std::wcstol(fields[1].c_str(), nullptr, 10);
            topic.title = fields[2];
            for (const std::wstring& keyword : Split(fields[3], L';'))
                if (!keyword.empty()) topic.keywords.push_back(keyword);
            topics.push_back(topic);
        } else if (!topics.empty() && !(body.empty() && line.empty())) {
            body.push_back(line);
        }
    }
    finishBody();
    return topics;
}

int FindByName(const std::vector<Topic>& topics, const std::wstring& name) {
    for (size_t i = 0; i < topics.size(); ++i)
        if (topics[i].name == name) return static_cast<int>(i);
    return -1;
}

int FindByContext(const std::vector<Topic>& topics, int context) {
    for (size_t i = 0; i < topics.size(); ++i)
        if (topics[i].context == context) return static_cast<int>(i);
    return -1;
}

std::vector<int> Search(const std::vector<Topic>& topics, const std::wstring& keyword) {
    std::wstring wanted = Lower(Trim(keyword));
    std::vector<int> found;
    for (size_t i = 0; i < topics.size(); ++i) {
        const Topic& t = topics[i];
        bool match = wanted.empty() || Contains(t.title, wanted) || Contains(t.body, wanted) ||
                     std::any_of(t.keywords.begin(), t.keywords.end(),
                                 [&](const std::wstring& k) { return Contains(k, wanted); });
        if (match) found.push_back(static_cast<int>(i));
    }
    return found;
}

}  // namespace help
