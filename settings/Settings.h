#pragma once
// The program's settings as values, and the one table that reads them from the
// settings file and writes them back. The register, the receipts and the
// greeting read the values from here; the settings page shows and edits them.
// Windows-free: the file is reached through Profile.
#include <optional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "receipt/ReceiptSettings.h"
#include "sale/RateChange.h"
#include "sale/Sale.h"

namespace settings {

// The main window's restored place on the screen.
struct WindowPlace {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
};

struct Settings {
    Settings();  // every value at its default of the table

    bool muted;
    WindowPlace window;
    std::wstring taxText;         // the standard rate as typed, unchecked
    std::wstring reducedTaxText;  // the reduced rate as typed, unchecked
    bool enterReduced;            // ENTER makes reduced-rate lines
    bool journalOn;
    std::wstring floatText;  // the opening float as typed
    receipt::Settings receipt;
    // The rate changes the shop entered ahead, from the day after taxText's
    // and reducedTaxText's on: those are the rates in force now.
    regi::RateChanges rateChanges;
    // The unreadable rate changes the start has told of, ";" between them: told
    // once, and again only when they are not these.
    std::wstring unreadableChangesTold;
    bool tendersOn;  // the other tenders are offered
    std::wstring tenderNames[regi::kMaxTenders];
    // The register's commands the shop gave a key chord of its own (a POS
    // keyboard's): "Settle=Ctrl+F1;ExemptLine=Alt+N", read by regi::KeyMap.
    std::wstring keyChords;
    // The [Departments] section's lines as the file has them, "\n" between
    // them (settings/Departments.h reads them): kept as read, so that a line
    // the shop has to put right goes back into the file as it was.
    std::wstring departmentLines;
    // The discounts set ahead for the stickers a shop uses every day, n at
    // n - 1: "20%" (percent off) or "50" (yen off) as ReadPreset reads it,
    // empty for none; and the name the menu and the help give it (empty: one
    // made from the value, "20%引").
    std::wstring presets[regi::kMaxPresets];
    std::wstring presetLabels[regi::kMaxPresets];
    // How the shop's label printer lays out its in-store price codes, as
    // catalog::LayoutText writes it ("5-5"); one that does not read is the usual.
    std::wstring inStoreLayout;
    // The [Books] section's lines as the file has them (journal/Export.h reads
    // them): the accounts and tax categories of the accounting programs'
    // files, for a shop whose ledger names them otherwise. Never written by the program.
    std::wstring bookLines;
};

// The names of the other tenders as the shop typed them, tender n at n - 1,
// a blank one empty, whether or not they are offered now: what the register,
// the reports and the receipts name a tender by (regi::TenderName), so that a
// day's card sales keep their name after the tenders are switched off.
std::vector<std::wstring> TenderNames(const Settings& settings);
// The names of the other tenders the register offers, tender n at n - 1: none
// while they are off, and a blank name is a tender not offered.
std::vector<std::wstring> OfferedTenders(const Settings& settings);

// A preset's value as the 値引 page takes it: whole percent 1 to 99 ("%"
// after it allowed) or yen 1 to the highest price, as a person types them.
// Nothing for anything else; PresetProblem says why.
std::optional<regi::Discount> ReadPreset(regi::DiscountKind kind, const std::wstring& typed);
std::wstring PresetProblem(regi::DiscountKind kind, const std::wstring& typed);
// As the settings file keeps it: "20%" is percent off, "50" yen off.
std::optional<regi::Discount> ReadPresetText(const std::wstring& text);
std::wstring PresetText(const regi::Discount& preset);
// The name of a preset the shop gave none: "20%引", "¥50引".
std::wstring PresetLabel(const regi::Discount& preset);
// The presets the register takes off with their keys, n at n - 1; keyed 0 for
// one not set (or not readable).
std::vector<regi::Discount> Presets(const Settings& settings);
// Their names in the menu and the help, n at n - 1; empty for one not set.
std::vector<std::wstring> PresetLabels(const Settings& settings);

// A file of sections and keys.
class Profile {
public:
    virtual ~Profile() = default;
    // nullopt when the section or the key is missing.
    virtual std::optional<std::wstring> Read(const wchar_t* section, const wchar_t* key) const = 0;
    // A write that fails throws; the writes after it are not made.
    virtual void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const = 0;
    // A section's lines as the file has them, "\n" between them (a key named
    // twice is there twice); nullopt when the section is missing.
    virtual std::optional<std::wstring> ReadSection(const wchar_t* section) const = 0;
    // Puts lines ("\n" between them) in the place of the section's.
    virtual void WriteSection(const wchar_t* section, const std::wstring& lines) const = 0;
};

// Each setting read by the file's rules (ProfileValues.h), a missing or
// unreadable one at its default.
Settings ReadSettings(const Profile& file);
// Every setting written, in the table's order. The rate changes and the
// tenders' section only once used: a file without them keeps its bytes. The
// departments' section is written only when its lines are not the file's.
void WriteSettings(const Profile& file, const Settings& settings);

// True when a and b write the same texts for every setting but the window's
// place: keeping b where a was kept would change nothing that matters now.
bool SameBesideTheWindow(const Settings& a, const Settings& b);

// Brings the rates in force up to the moment now: the latest change whose day
// has come gives taxText and reducedTaxText, and the changes that have come
// leave the list. The change that did it, if one did.
std::optional<regi::RateChange> BringRatesUpTo(Settings& settings, const common::DateTime& now);

// What the start tells of the rate changes that do not read: nothing when it
// told of the same ones before; else the message, and they are noted as told.
std::wstring UnreadableChangesToTell(Settings& settings);

}  // namespace settings
