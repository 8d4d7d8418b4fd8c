// Check File's findings against the platform's reader under Wine: every file
// of the rule table (tests/unit/check_rule_table.h) is written in its
// encoding, and every call a finding makes to show what the reader gets
// (GetPrivateProfileStringW, GetPrivateProfileSectionNamesW,
// GetPrivateProfileSectionW) must give what the finding says Wine's reader
// gives. Where real Windows reads otherwise, the table says so, and the
// finding says how.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini/encoding.h"
#include "ini/profile_check.h"
#include "ini/profile_model.h"
#include "ini/win32/code_page.h"
#include "test_files.h"
#include "tests/unit/check_rule_table.h"

namespace {

std::wstring Wide(const std::string& text) {
    const std::u16string units = ini::Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string Narrow(const wchar_t* text) { return ini::Utf16ToUtf8(std::u16string(text, text + wcslen(text))); }

// The strings of a double-NUL-terminated list.
std::vector<std::string> Strings(const std::vector<wchar_t>& buffer, DWORD length) {
    std::vector<std::string> strings;
    for (const wchar_t* p = buffer.data(); p < buffer.data() + length && *p; p += wcslen(p) + 1)
        strings.push_back(Narrow(p));
    return strings;
}

// What the platform's reader gives for the call, in the call's own terms.
ini::ReaderCall Make(const ini::ReaderCall& call, const std::wstring& file) {
    ini::ReaderCall got = call;
    std::vector<wchar_t> buffer(1 << 16);
    const DWORD size = static_cast<DWORD>(buffer.size());
    const std::wstring section = Wide(call.section);
    switch (call.kind) {
    case ini::ReaderCallKind::Value: {
        const wchar_t* absent = L"\x01<none>";
        GetPrivateProfileStringW(section.c_str(), Wide(call.key).c_str(), absent, buffer.data(), size, file.c_str());
        got.value.reset();
        if (std::wstring(buffer.data()) != absent) got.value = Narrow(buffer.data());
        break;
    }
    case ini::ReaderCallKind::SectionNameCount:
        got.count = 0;
        for (const std::string& name : Strings(buffer, GetPrivateProfileSectionNamesW(buffer.data(), size, file.c_str())))
            got.count += ini::SameProfileName(name, call.section);
        break;
    case ini::ReaderCallKind::SectionHolds:
        got.count = 0;
        for (const std::string& entry :
             Strings(buffer, GetPrivateProfileSectionW(section.c_str(), buffer.data(), size, file.c_str())))
            got.count |= entry == call.key;
        break;
    }
    return got;
}

std::string Describe(const ini::ReaderCall& call) {
    switch (call.kind) {
    case ini::ReaderCallKind::Value:
        return "GetPrivateProfileString(\"" + call.section + "\", \"" + call.key + "\") gives " +
               (call.value ? "\"" + *call.value + "\"" : "nothing");
    case ini::ReaderCallKind::SectionNameCount:
        return "GetPrivateProfileSectionNames lists \"" + call.section + "\" " + std::to_string(call.count) + " times";
    case ini::ReaderCallKind::SectionHolds:
        return "GetPrivateProfileSection(\"" + call.section + "\") " + (call.count ? "holds" : "lacks") + " \"" +
               call.key + "\"";
    }
    return "";
}

TEST(CheckDifferentialTest, WhatEachFindingSaysWinesReaderGetsIsWhatItGets) {
    testfiles::ScratchFolder folder("CheckDifferentialTest");
    const std::string path = folder / "table.ini";
    const std::wstring file = Wide(path);
    size_t calls = 0;
    for (const check_table::Case& c : check_table::Cases()) {
        ini::FileText text;
        text.encoding = c.encoding;
        text.text = c.text;
        const std::optional<std::string> bytes = ini::EncodeFile(text, SystemAnsiCodePage());
        ASSERT_TRUE(bytes) << c.text;
        ASSERT_TRUE(testfiles::WriteBytes(path, *bytes));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());   // drop the platform's cache
        for (const ini::CheckFinding& finding : ini::CheckProfileText(c.text, c.encoding).findings) {
            for (const ini::ReaderCall& call : finding.calls) {
                ++calls;
                EXPECT_EQ(Describe(Make(call, file)), Describe(call)) << ini::FindingAsText(finding) << "\n" << c.text;
            }
        }
    }
    // Every rule but the NUL byte's (read erratically) and "[]" shows itself in calls.
    EXPECT_GE(calls, 40u);
}

}  // namespace
