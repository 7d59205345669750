#pragma once
// The gallery: one window per group of controls, each control shown enabled
// and disabled, so a skin can be judged (and compared) control by control.
// Pages are built by functions so the program, its screenshots and the window
// tests all show exactly the same windows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qs {
class TForm;
class TComponent;
class TSkinData;
}

namespace qs::gallery {

// What a page shows. `form` is set for toolkit forms; the standard dialog box
// and the message box are plain system windows and only have `handle`.
struct PageWindow {
    TForm* form = nullptr;
    HWND handle = nullptr;
    // Puts the page's controls into the states a still picture can hold
    // (pressed, focused, hot, dropped down) before a screenshot; may be empty.
    std::function<void()> script;
};

struct Page {
    std::string id;           // file-name friendly ("buttons")
    std::wstring title;       // window caption
    std::function<PageWindow()> open;
};

// The pages in gallery order. The message box is not among them: it is
// modal, see showMessageBoxFor().
const std::vector<Page>& pages();

// Closes what open() made (a form is freed, a dialog destroyed).
void closePage(const PageWindow& w);

// Shows the gallery's message box; `whileOpen` runs once from inside its
// modal loop with the box's handle, then the box is closed.
void showMessageBoxFor(HWND owner, const std::function<void(HWND box)>& whileOpen);

// The folder the program runs from, with a trailing backslash.
std::string programFolder();

// The skins the gallery knows, by file name without extension.
const std::vector<std::string>& skinNames();

// The painted page's control of the gallery's own class: a strip in the
// face colour, then rows on the window colour, the second one selected.
// Its layout, for the tests that read its pixels back.
extern const wchar_t* const kPaintedControlClass;
constexpr int kPaintedStrip = 20, kPaintedItem = 18;
RECT paintedRow(const RECT& client, int row);

// Pumps the toolkit's messages for about `ms` milliseconds.
void pump(DWORD ms);

}  // namespace qs::gallery
