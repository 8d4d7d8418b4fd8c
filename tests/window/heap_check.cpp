// At the end of every test program: each heap of the process is checked
// whole, and the verdict written with the process id, as Wine writes it
// before its own messages, to standard error where they go: wine-run reads
// which of Wine's reports came before it.
//
// Wine 8's heap check (GlobalFlag 0x80) can report a block as "free block
// overwritten" while another thread is still filling that block as it
// frees it: the check runs under the heap's lock, the fill does not. Such a
// report passes; damage that is real stays, and every later check finds it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// The heaps of the process that fail a check, asked again a few times so
// that a block half-way through being freed on another thread has been
// filled by then.
std::vector<HANDLE> DamagedHeaps() {
    std::vector<HANDLE> damaged;
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
        heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
        damaged.clear();
        for (HANDLE heap : heaps)
            if (!HeapValidate(heap, 0, nullptr)) damaged.push_back(heap);
        if (damaged.empty()) break;
        Sleep(50);
    }
    return damaged;
}

class HeapCheck : public ::testing::Environment {
public:
    void TearDown() override {
        const std::vector<HANDLE> damaged = DamagedHeaps();
        for (HANDLE heap : damaged) ADD_FAILURE() << "heap " << heap << " is damaged at the end of the test";
        if (damaged.empty()) {
            std::fprintf(stderr, "heaps of process %04lx whole at the end\n", GetCurrentProcessId());
            std::fflush(stderr);
        }
    }
};

::testing::Environment* const kHeapCheck = ::testing::AddGlobalTestEnvironment(new HeapCheck);

}  // namespace
