#pragma once
// The settings file, read and written through the platform's private-profile
// functions. Every call opens, uses and closes the file: nothing is cached, and
// a key written reaches the file at once.
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace settings {

class SettingsFile : public Profile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& Path() const { return path_; }

    std::optional<std::wstring> Read(const wchar_t* section, const wchar_t* key) const override;
    void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const override;
    std::optional<std::wstring> ReadSection(const wchar_t* section) const override;
    void WriteSection(const wchar_t* section, const std::wstring& lines) const override;

    // A missing file, section or key gives fallback; a key present with an empty
    // value gives the empty text. At most 2047 characters come back.
    std::wstring ReadString(const wchar_t* section, const wchar_t* key, const std::wstring& fallback) const;
    int ReadInteger(const wchar_t* section, const wchar_t* key, int fallback) const;
    bool ReadBoolean(const wchar_t* section, const wchar_t* key, bool fallback) const;

    // Writes every setting (WriteSettings) as one change: into a copy beside
    // the file, flushed, which then takes the file's place, so that a crash or
    // a power cut leaves the old file or the new one. A failure raises
    // "<path> に書き込めません" and leaves the file as it was.
    void Keep(const Settings& values) const;

    // A write the platform refuses raises "<path> に書き込めません", which ends
    // the occasion: the writes after it are skipped.
    void WriteString(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;
    void WriteInteger(const wchar_t* section, const wchar_t* key, int value) const;
    void WriteBoolean(const wchar_t* section, const wchar_t* key, bool value) const;

private:
    std::wstring path_;
};

// Where the program keeps its settings, and what the start has to say of it.
struct SettingsPlace {
    std::wstring path;
    std::wstring notice;  // once, when the shop's files were copied to path's folder
};

// Beside the program when that file can be written or created there, else
// Pelmora.ini in localFolder (the user's local application data). A settings
// file beside a program that cannot write there is the shop's: the first time,
// it is copied to localFolder with the files named in companions that lie
// beside it (the journal), so that no setting and no sale is dropped.
SettingsPlace ChooseSettingsPlace(const std::wstring& programPath, const std::wstring& localFolder,
                                  const std::vector<std::wstring>& companions);
// The same for the running program and the user's own folder.
SettingsPlace ChooseSettingsPlace(const std::vector<std::wstring>& companions);

// What the start says when it copied the shop's files from one folder to another.
std::wstring CopiedNotice(const std::wstring& from, const std::wstring& to, bool withJournal);

}  // namespace settings
