// The floors the Win32 figures are held against: what Wine itself takes for the bare work.

#include "bench/Floors_win.h"

#include "bench/Bench.h"

#include <algorithm>

PlainListBox::PlainListBox(HWND host, HFONT font, int id)
{
    list_ = CreateWindowA("LISTBOX", "",
                          WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | LBS_EXTENDEDSEL |
                              LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                          10, 10, 460, 250, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

PlainListBox::~PlainListBox()
{
    if (list_)
        DestroyWindow(list_);
}

namespace {

void fill(HWND list, const std::vector<std::string_view>& lines)
{
    for (std::string_view line : lines)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.data()));
}

} // namespace

PlainListBox::Refill PlainListBox::refill(const std::vector<std::string_view>& before,
                                          const std::vector<std::string_view>& lines)
{
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    fill(list_, before);
    Refill r;
    const double t0 = benchSeconds();
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    const double t1 = benchSeconds();
    fill(list_, lines);
    const double t2 = benchSeconds();
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    r.resetMs = (t1 - t0) * 1e3;
    r.fillMs = (t2 - t1) * 1e3;
    return r;
}

PlainListBox::Refill medianRefill(PlainListBox& list, const std::vector<std::string_view>& before,
                                  const std::vector<std::string_view>& lines, int rounds)
{
    std::vector<PlainListBox::Refill> all;
    for (int i = 0; i < rounds; ++i)
        all.push_back(list.refill(before, lines));
    std::sort(all.begin(), all.end(),
              [](const PlainListBox::Refill& a, const PlainListBox::Refill& b) { return a.totalMs() < b.totalMs(); });
    return all[all.size() / 2];
}

double listingSeconds(const std::string& folder, int* entries)
{
    const double t0 = benchSeconds();
    int listed = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ++listed;
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const double t1 = benchSeconds();
    if (entries)
        *entries = listed;
    return t1 - t0;
}

std::string readWholeFile(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        if (!bytes.empty() && (!ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                               got != bytes.size()))
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

std::vector<std::string_view> viewsOf(const std::vector<std::string>& lines)
{
    return std::vector<std::string_view>(lines.begin(), lines.end());
}
