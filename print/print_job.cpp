#include "print/print_job.h"

// Printing is not available yet: Print does nothing.
int PrintJob(HINSTANCE, HWND, int, const std::string&) {
    return 1;
}
