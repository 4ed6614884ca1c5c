#pragma once
// The settings file, read and written through the platform's private-profile
// functions. Every call opens, uses and closes the file: nothing is cached, and
// a key written reaches the file at once.
#include <string>

namespace settings {

class SettingsFile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    // A missing file, section or key gives fallback; a key present with an empty
    // value gives the empty text. At most 2047 characters come back.
    std::wstring ReadString(const wchar_t* section, const wchar_t* key, const std::wstring& fallback) const;
    int ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const;
    bool ReadBoolean(const wchar_t* section, const wchar_t* key, bool fallback) const;

    // A write the platform refuses raises "<path> に書き込めません", which ends
    // the occasion: the writes after it are skipped.
    void WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;
    void WriteInteger(const wchar_t* section, const wchar_t* key, int value) const;
    void WriteBoolean(const wchar_t* section, const wchar_t* key, bool value) const;

private:
    std::wstring path_;
};

// Where the program keeps its settings: beside the program when that file can
// be written or created there, else in the user's local application data.
std::wstring ChooseSettingsPath();

}  // namespace settings
