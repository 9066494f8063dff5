// The window classes "CMacButton" and "CMacCheckBox": buttons that a skinned object takes
// over as they are created, so that a template or CreateWindow can name them.

#include "controls/CMacButton_win.h"
#include "controls/CMacCheckBox_win.h"

#include <new>

namespace {

template <typename Skinned>
struct SkinClass {
    static WNDPROC buttonProc;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const LRESULT result = CallWindowProcA(buttonProc, window, message, wParam, lParam);
        if (message == WM_NCCREATE && result) {
            // Owned by its window from here on: deleted after WM_NCDESTROY.
            if (Skinned* control = new (std::nothrow) Skinned) {
                control->subclass(window);
                control->deleteWithWindow();
            }
        }
        return result;
    }

    static void registerAs(const char* name)
    {
        HINSTANCE module = GetModuleHandleA(nullptr);
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof existing;
        if (GetClassInfoExA(module, name, &existing))
            return;
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        if (!GetClassInfoExA(nullptr, "BUTTON", &wc))
            return;
        buttonProc = wc.lpfnWndProc;
        wc.lpfnWndProc = &SkinClass::procedure;
        wc.hInstance = module;
        wc.lpszClassName = name;
        wc.style &= ~CS_GLOBALCLASS;
        RegisterClassExA(&wc);
    }
};

template <typename Skinned>
WNDPROC SkinClass<Skinned>::buttonProc = nullptr;

} // namespace

void registerSkinControlClasses()
{
    SkinClass<CMacButton>::registerAs("CMacButton");
    SkinClass<CMacCheckBox>::registerAs("CMacCheckBox");
}
