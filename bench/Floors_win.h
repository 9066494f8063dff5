#pragma once
// The floors the Win32 figures are held against: what Wine itself takes for the bare work.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// A plain list box (strings only, not owner-drawn, otherwise the file list's styles and
// font) on the host window, for the list box refill floor.
class PlainListBox {
public:
    PlainListBox(HWND host, HFONT font, int id);
    ~PlainListBox();
    PlainListBox(const PlainListBox&) = delete;
    PlainListBox& operator=(const PlainListBox&) = delete;

    HWND hwnd() const { return list_; }
    // The floor of a refill: LB_RESETCONTENT, then one LB_ADDSTRING per line, with redraw
    // off. The list box is filled with `before` first (outside the measurement), so the
    // reset has as much to empty as the refill it is held against. Milliseconds.
    struct Refill {
        double resetMs = 0;
        double fillMs = 0;
        double totalMs() const { return resetMs + fillMs; }
    };
    Refill refill(const std::vector<std::string_view>& before, const std::vector<std::string_view>& lines);

private:
    HWND list_ = nullptr;
};

// The plain refill floor as the median of a few rounds, for steadier ratios on a loaded machine.
PlainListBox::Refill medianRefill(PlainListBox& list, const std::vector<std::string_view>& before,
                                  const std::vector<std::string_view>& lines, int rounds = 3);

// The folder listing floor: FindFirstFileA/FindNextFileA over folder + "*.*"; seconds, and
// the number of entries met.
double listingSeconds(const std::string& folder, int* entries = nullptr);

// The whole file read into memory with one CreateFileA/ReadFile, as the read floor of a load.
std::string readWholeFile(const std::string& path);

std::vector<std::string_view> viewsOf(const std::vector<std::string>& lines);
