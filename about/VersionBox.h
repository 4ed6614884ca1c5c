#pragma once
// The about box: product name, version, credits and contact links in aqua
// over a picture the user chooses. Made hidden at start-up right after the
// main window, shown modally from the menu and the tool bar.
#include <string>

#include "about/Picture.h"
#include "about/PictureDialog.h"
#include "about/ShellOpen.h"
#include "settings/SettingsFile.h"
#include "ui/ModalWindow.h"
#include "ui/Gdi.h"

class TVersionBox : public ui::ModalWindow {
public:
    // Makes the box, hidden, and runs its creation step with the settings file
    // at settingsPath. The default picture is "About.bmp" in programFolder
    // (which ends with a separator). The links open through shell; pictures
    // are asked for with choosePicture.
    TVersionBox(std::wstring settingsPath, about::ShellOpener shell, about::PictureChooser choosePicture,
                std::wstring programFolder = ProgramFolder());

    // The folder of the running program, with its trailing separator.
    static std::wstring ProgramFolder();

    // True when the creation step will ask for a picture: there is no file at
    // the stored picture path, or at the default one when none is stored.
    static bool AsksForPicture(const std::wstring& settingsPath, const std::wstring& programFolder = ProgramFolder());

    // ShowModal returns IDOK for the OK button, IDCANCEL for the close box or Escape.

    // Asks over owner for a new picture: the chosen path is kept first, then
    // loaded, so a picture that cannot be loaded is reported and the box keeps
    // the one it has.
    void ChoosePicture(HWND owner);
    // Replaces the picture of Image1; on an error the previous one stays.
    void LoadPicture(const std::wstring& path);
    const about::Picture& Picture() const { return picture_; }

    // Writes the box's bounds; its close step.
    void FormClose();

    void Label2Click();
    void Label5Click();
    void Label7Click();
    void Button1Click();

    const settings::SettingsFile& SettingsFile() const { return settingsFile_; }
    std::wstring DefaultPicturePath() const { return DefaultPictureIn(programFolder_); }

    static const wchar_t kCaption[];
    static const wchar_t kHomePage[];
    // The help topic of the OK button.
    static constexpr int kHelpContext = 2;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND FirstFocus() const override;
    bool TakeKey(const MSG& msg) override;
    // The bounds are kept even when the file cannot take them: the error is
    // shown and the box closes all the same.
    void Closing() override;

private:
    static std::wstring DefaultPictureIn(const std::wstring& programFolder) { return programFolder + L"About.bmp"; }
    static std::wstring StoredPicturePath(const settings::SettingsFile& file, const std::wstring& programFolder);
    void FormCreate();
    void CreateWidgets();
    void ApplyBounds();
    void ShowButtonHelp();
    void MailTo(int label);  // a new mail to the address the label shows
    void Command(int id, int code);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void DrawBackdrop(HDC dc, HWND child) const;
    bool IsLink(HWND window) const;

    settings::SettingsFile settingsFile_;
    std::wstring programFolder_;
    about::Picture picture_;
    about::OpenPictureDialog openPictureDialog1_;
    about::ShellOpener shell_;
    ui::Font baseFont_, titleFont_, font13_, font12_, link12_, link13_, buttonFont_;
    HICON icon_ = nullptr;  // the program's shared icon; not destroyed
};
