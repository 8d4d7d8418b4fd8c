// Running a Unix shell command from a test under Wine, for what only Unix can
// show or set: permission bits, owners, links, mounts. Wine starts Unix
// programs itself but gives no handle to wait on, so the command leaves its
// exit status in a file that the test waits for.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "immutable_file.h"
#include "test_files.h"

namespace testfiles {

struct ShellResult {
    bool ran = false;     // the status file came
    int status = -1;
    std::string output;   // standard output and error, as bytes
};

// Runs command with /bin/sh in the Unix directory of folder (a Windows path).
inline ShellResult RunShell(const std::string& folder, const std::string& command, DWORD timeoutMs = 10000) {
    ShellResult result;
    const std::string script = folder + "\\shell-step.sh";
    const std::string output = folder + "\\shell-step.out";
    const std::string status = folder + "\\shell-step.status";
    DeleteFileA(output.c_str());
    DeleteFileA(status.c_str());
    const std::string unixFolder = UnixPathOf(folder);
    if (unixFolder.empty()) return result;
    // The status is written to a temporary name and renamed, so a status file
    // that exists is complete.
    WriteBytes(script, "cd '" + unixFolder + "' || exit 1\n(" + command + ") >shell-step.out 2>&1\n" +
                           "echo $? >shell-step.tmp && mv shell-step.tmp shell-step.status\n");
    std::string commandLine = "/bin/sh \"" + UnixPathOf(script) + "\"";
    if (!StartUnixProgram(commandLine)) return result;
    for (DWORD waited = 0; waited < timeoutMs; waited += 20) {
        if (Exists(status)) {
            result.ran = true;
            result.status = std::atoi(ReadBytes(status).c_str());
            result.output = ReadBytes(output);
            while (!result.output.empty() && result.output.back() == '\n') result.output.pop_back();
            break;
        }
        Sleep(20);
    }
    DeleteFileA(script.c_str());
    DeleteFileA(output.c_str());
    DeleteFileA(status.c_str());
    return result;
}

}  // namespace testfiles
