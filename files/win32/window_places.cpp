#include "files/win32/window_places.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/dpi.h"
#include "base/window_place.h"
#include "files/win32/profile_store.h"

namespace {

// What each key held, or the place the window opened at: a window left
// where it was writes nothing.
std::map<std::string, std::string> PlaceAtOpening;

base::Rect FromRect(const RECT& r) { return base::Rect{r.left, r.top, r.right, r.bottom}; }

using InfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

struct Found {
    InfoFn info;
    std::vector<base::Rect>* areas;
};

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    Found* found = reinterpret_cast<Found*>(data);
    MONITORINFO monitorInfo = {};
    monitorInfo.cbSize = sizeof monitorInfo;
    if (found->info(monitor, &monitorInfo)) found->areas->push_back(FromRect(monitorInfo.rcWork));
    return TRUE;
}

// The monitors' work areas, the one nearest to rect first. Looked up, as
// systems before Windows 98 and 2000 know one screen only.
std::vector<base::Rect> WorkAreas(const RECT& rect) {
    using FromRectFn = HMONITOR(WINAPI*)(LPCRECT, DWORD);
    using EnumFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
    HMODULE user = GetModuleHandleA("user32.dll");
    auto fromRect = reinterpret_cast<FromRectFn>(reinterpret_cast<void*>(GetProcAddress(user, "MonitorFromRect")));
    auto info = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoA")));
    auto enumerate =
        reinterpret_cast<EnumFn>(reinterpret_cast<void*>(GetProcAddress(user, "EnumDisplayMonitors")));
    std::vector<base::Rect> areas;
    if (fromRect == nullptr || info == nullptr || enumerate == nullptr) {
        RECT work;
        if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) areas.push_back(FromRect(work));
        return areas;
    }
    Found found{info, &areas};
    MONITORINFO nearest = {};
    nearest.cbSize = sizeof nearest;
    if (info(fromRect(&rect, MONITOR_DEFAULTTONEAREST), &nearest)) areas.push_back(FromRect(nearest.rcWork));
    enumerate(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&found));
    return areas;
}

// The window's place when it is neither minimized nor maximized, in screen
// coordinates.
RECT NormalRect(HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    RECT rect;
    GetWindowRect(window, &rect);
    if ((IsIconic(window) || IsZoomed(window)) && GetWindowPlacement(window, &placement)) {
        // The normal place is given in work-area coordinates.
        RECT work;
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) work = RECT{};
        rect = placement.rcNormalPosition;
        OffsetRect(&rect, work.left, work.top);
    }
    return rect;
}

std::string PlaceNow(HWND window) {
    const base::WindowPlace place{FromRect(NormalRect(window)), static_cast<int>(WindowDpi(window))};
    return base::FormatWindowPlace(place);
}

}  // namespace

void RestoreWindowPlace(HWND window, const char* key) {
    const std::string kept = profile::ReadString("KEPLIN", key, profile::PreferencesFile().c_str());
    PlaceAtOpening[key] = PlaceNow(window);
    const std::optional<base::WindowPlace> place = base::ParseWindowPlace(kept);
    if (!place) return;
    const base::Rect sized = base::SizedForDpi(*place, static_cast<int>(WindowDpi(window)));
    const RECT wanted{sized.left, sized.top, sized.right, sized.bottom};
    const base::Rect r = base::OntoAMonitor(sized, WorkAreas(wanted));
    SetWindowPos(window, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceAtOpening[key] = PlaceNow(window);
}

void KeepWindowPlace(HWND window, const char* key) {
    const std::string now = PlaceNow(window);
    const auto opening = PlaceAtOpening.find(key);
    if (opening != PlaceAtOpening.end() && opening->second == now) return;
    // A failed write goes unreported: the window then opens where it did.
    profile::WriteKey("KEPLIN", key, now.c_str(), profile::PreferencesFile().c_str());
    PlaceAtOpening[key] = now;
}
