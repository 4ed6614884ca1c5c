#pragma once
// Tax rates that change on a date: the changes the shop has entered ahead of
// time, which of them are in force at a moment, and their texts on the
// settings page and in the settings file. Windows-free.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/DateTime.h"

namespace regi {

// From the start of a day on, new standard and reduced rates.
struct RateChange {
    int year = 0, month = 0, day = 0;
    std::int64_t standard = 0, reduced = 0;  // whole percent, 0 to 99

    bool operator==(const RateChange& other) const;
};

// The changes the shop has entered, by day, and the entries of the settings
// file that did not read: kept as they were, never guessed at and never used.
struct RateChanges {
    std::vector<RateChange> changes;
    std::vector<std::wstring> unreadable;
};

// The most changes the settings page keeps.
constexpr size_t kMaxRateChanges = 20;

// A day as the shop types it, "2027/04/01" or "2027/4/1": a four-digit year
// and a day that is in the calendar. Nothing for anything else.
std::optional<RateChange> ReadChangeDay(const std::wstring& text);
// A rate of a change: a whole number of percent from 0 to 99, digits only.
std::optional<std::int64_t> ReadChangeRate(const std::wstring& text);

// "2027/04/01"
std::wstring ChangeDayText(const RateChange& change);
// "2027/04/01 から 10% / 軽減 1%"
std::wstring ChangeText(const RateChange& change);
// The settings page's line of the rates in force and the next change:
// "いまの税率 10% / 軽減 8%　次の変更 2027/04/01 から 10% / 軽減 1%".
std::wstring RatesLineText(std::int64_t standard, std::int64_t reduced, const std::vector<RateChange>& changes);

// The settings file's value: entries "2027/04/01 10 1" separated by ";".
// An entry whose day or rates do not read goes to unreadable.
RateChanges ParseRateChanges(const std::wstring& text);
// The readable changes by day, then the unreadable entries as they were.
std::wstring RateChangesText(const RateChanges& changes);
// What the start says once of the entries that did not read; empty for none.
std::wstring UnreadableChangesMessage(const std::vector<std::wstring>& unreadable);
// What the start says of a change that came into force while the program was
// closed: "本日から…" on its own day, else from its day.
std::wstring ChangedRatesNotice(const RateChange& change, const common::DateTime& now);

// Puts a change in its place by day, one on the same day replaced; returns its place.
size_t AddChange(std::vector<RateChange>& changes, const RateChange& change);
// Whether a change's day has begun at the moment now.
bool InForce(const RateChange& change, const common::DateTime& now);
// Takes out of changes (by day) those in force at now and returns the latest
// of them: the rates from now on. Nothing when none has come.
std::optional<RateChange> TakeDue(std::vector<RateChange>& changes, const common::DateTime& now);

}  // namespace regi
