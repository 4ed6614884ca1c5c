#pragma once
// The help text compiled into the program: topics with a name, a context
// number, a title, search keywords and a body.
//
// Source format, one topic after another:
//   @@ <name> | <context number> | <title> | <keyword>;<keyword>;...
//   <body lines up to the next "@@" line>
// Lines starting with '#' are comments.
#include <string>
#include <vector>

namespace help {

struct Topic {
    std::wstring name;
    int context = 0;
    std::wstring title;
    std::vector<std::wstring> keywords;
    std::wstring body;  // lines joined by "\r\n", as an edit control shows them
};

std::vector<Topic> ParseTopics(const std::wstring& source);

// Index of the topic with that name or context number, or -1.
int FindByName(const std::vector<Topic>& topics, const std::wstring& name);
int FindByContext(const std::vector<Topic>& topics, int context);

// Indexes of the topics whose title, keywords or body contain keyword, in their
// order; all of them for an empty keyword. Latin letters match in either case.
std::vector<int> Search(const std::vector<Topic>& topics, const std::wstring& keyword);

}  // namespace help
