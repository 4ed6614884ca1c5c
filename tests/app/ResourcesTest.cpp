// The program's manifest and version resource, read back from the image that
// carries them (test programs link the same resources as the program).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/Version.h"

namespace {

std::string Manifest() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (!found) return {};
    auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(bytes, SizeofResource(nullptr, found));
}

std::wstring VersionValue(const wchar_t* name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD size = GetFileVersionInfoSizeW(self, nullptr);
    std::string block(size, '\0');
    if (!size || !GetFileVersionInfoW(self, 0, size, block.data())) return {};
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || !length) return {};
    return static_cast<const wchar_t*>(value);
}

TEST(Manifest, DeclaresWhatTheProgramNeedsOfWindows) {
    const std::string manifest = Manifest();
    ASSERT_FALSE(manifest.empty());
    const char* parts[] = {
        // Drawn sharp by Windows at 125 % and more; the layout stays in pixels.
        "<gdiScaling xmlns=\"http://schemas.microsoft.com/SMI/2017/WindowsSettings\">true</gdiScaling>",
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false</dpiAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        // Vista, 7, 8, 8.1, 10 and 11.
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
        "name=\"Pelmora\" version=\"" PELMORA_VERSION_TEXT "\"",
    };
    for (const char* part : parts) EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST(Manifest, IsTakenBySystem) {
    // Only a manifest the system has read brings the common controls 6, which
    // come from the side-by-side store rather than the system folder.
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(controls, path, MAX_PATH);
    CharLowerW(path);
    EXPECT_NE(std::wstring(path).find(L"microsoft.windows.common-controls"), std::wstring::npos) << path;
}

TEST(VersionResource, CarriesTheProjectVersion) {
    EXPECT_EQ(VersionValue(L"FileVersion"), PELMORA_VERSION_WTEXT);
    EXPECT_EQ(VersionValue(L"ProductVersion"), PELMORA_VERSION_WTEXT);
    EXPECT_EQ(VersionValue(L"ProductName"), L"Pelmora");
    // The numbers of the fixed part agree with the text.
    EXPECT_EQ(std::wstring(PELMORA_VERSION_WTEXT),
              std::to_wstring(PELMORA_VERSION_MAJOR) + L"." + std::to_wstring(PELMORA_VERSION_MINOR) + L"." +
                  std::to_wstring(PELMORA_VERSION_PATCH) + L"." + std::to_wstring(PELMORA_VERSION_TWEAK));
}

}  // namespace
