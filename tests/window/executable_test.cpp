// What keplin.exe carries besides its code: the version resource that the
// system's file properties show, and the manifest that gives it version 6 of
// the common controls.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_files.h"

namespace {

using testfiles::KeplinExe;

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        data_.resize(size);
        ok_ = size != 0 && GetFileVersionInfoA(path.c_str(), 0, size, data_.data());
    }
    bool Ok() const { return ok_; }
    std::string Text(const char* name) const {
        char key[128];
        wsprintfA(key, "\\StringFileInfo\\040904E4\\%s", name);
        char* text = nullptr;
        UINT bytes = 0;
        if (!ok_ || !VerQueryValueA(data_.data(), key, reinterpret_cast<void**>(&text), &bytes)) return "<none>";
        return text;
    }
    const VS_FIXEDFILEINFO* Fixed() const {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT bytes = 0;
        if (!ok_ || !VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &bytes)) return nullptr;
        return fixed;
    }

private:
    std::vector<char> data_;
    bool ok_ = false;
};

TEST(Executable, ItsVersionResourceNamesTheProductAndThisVersion) {
    VersionInfo info(KeplinExe());
    ASSERT_TRUE(info.Ok()) << "keplin.exe has no version resource";
    EXPECT_EQ(info.Text("ProductName"), "KEPLIN");
    EXPECT_EQ(info.Text("FileDescription"), "KEPLIN, an editor for INI files");
    EXPECT_EQ(info.Text("LegalCopyright"), "Copyright (c) 2026 the KEPLIN authors. MIT License");
    // The same version as the build and the setup program give.
    EXPECT_EQ(info.Text("FileVersion"), KEPLIN_VERSION);
    EXPECT_EQ(info.Text("ProductVersion"), KEPLIN_VERSION);
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    char version[32];
    wsprintfA(version, "%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS));
    EXPECT_EQ(std::string(version), KEPLIN_VERSION);
}

TEST(Executable, ItsManifestGivesItVersion6OfTheCommonControls) {
    // This test program carries the same resources as keplin.exe.
    HMODULE controls = GetModuleHandleA("comctl32.dll");
    ASSERT_NE(controls, nullptr) << "the common controls are not loaded";
    // Version 6 lives in the side-by-side store under the assembly's own
    // name; the system directory holds the older version 5.
    char path[MAX_PATH] = "";
    GetModuleFileNameA(controls, path, sizeof path);
    CharLowerA(path);
    EXPECT_NE(std::string(path).find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."),
              std::string::npos) << "loaded " << path;
    // And keplin.exe holds that manifest as its own resource 1.
    HMODULE exe = LoadLibraryExA(KeplinExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC manifest = FindResourceA(exe, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(manifest, nullptr) << "keplin.exe has no manifest";
    std::string text(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                     SizeofResource(exe, manifest));
    FreeLibrary(exe);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
}

}  // namespace
