// Drives the real Tessel2.exe through its windows, as a user would, for the UI tests.

#include "driver/UiDriver.h"

#include "tests/support/TestFiles.h"

#include <commctrl.h>

#include <cstring>

namespace ui {

namespace {

UINT textCodePage = CP_ACP;

std::wstring wide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int chars = MultiByteToWideChar(textCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(textCodePage, 0, text.data(), static_cast<int>(text.size()), &out[0], chars);
    return out;
}

std::string narrow(const wchar_t* text, std::size_t length)
{
    if (length == 0)
        return std::string();
    const int bytes =
        WideCharToMultiByte(textCodePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(textCodePage, 0, text, static_cast<int>(length), &out[0], bytes, nullptr, nullptr);
    return out;
}

bool sameTextIgnoringCase(const std::string& a, const std::string& b)
{
    const std::wstring wa = wide(a);
    const std::wstring wb = wide(b);
    return CompareStringW(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, wa.c_str(), -1, wb.c_str(), -1) == CSTR_EQUAL;
}

BOOL CALLBACK collectChild(HWND child, LPARAM data)
{
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
    return TRUE;
}

std::vector<HWND> children(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct TopLevelSearch {
    DWORD processId;
    HWND exclude;
    const std::string* title;   // null: any title
    HWND found;
};

BOOL CALLBACK findTopLevel(HWND window, LPARAM data)
{
    TopLevelSearch& search = *reinterpret_cast<TopLevelSearch*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || window == search.exclude || !IsWindowVisible(window))
        return TRUE;
    if (className(window) != "#32770")
        return TRUE;
    if (search.title && windowText(window) != *search.title)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND findTopLevelDialog(DWORD processId, HWND exclude, const std::string* title)
{
    TopLevelSearch search = {processId, exclude, title, nullptr};
    EnumWindows(findTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Memory inside the program's process, for the messages whose pointers the system does
// not carry across (tree-view items).
class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) : size_(size)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteMemory()
    {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    bool valid() const { return address_ != nullptr; }
    char* address() const { return static_cast<char*>(address_); }
    bool write(std::size_t offset, const void* data, std::size_t size) const
    {
        return offset + size <= size_ &&
               WriteProcessMemory(process_, address() + offset, data, size, nullptr);
    }
    bool read(std::size_t offset, void* data, std::size_t size) const
    {
        return offset + size <= size_ &&
               ReadProcessMemory(process_, address() + offset, data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    std::size_t size_;
};

class RemoteTree {
public:
    explicit RemoteTree(HWND tree)
        : tree_(tree), memory_(tree, sizeof(TVITEMW) + (textChars + 1) * sizeof(WCHAR)) {}

    bool valid() const { return tree_ && memory_.valid(); }

    // Read wide, as every text is: the program's code page need not be the test's.
    std::string text(HTREEITEM item) const
    {
        TVITEMW tv = {};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = reinterpret_cast<LPWSTR>(memory_.address() + sizeof(TVITEMW));
        tv.cchTextMax = textChars;
        const WCHAR zero = L'\0';
        memory_.write(sizeof(TVITEMW), &zero, sizeof zero);
        if (!memory_.write(0, &tv, sizeof tv))
            return std::string();
        if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_.address())))
            return std::string();
        WCHAR buffer[textChars + 1] = {};
        memory_.read(sizeof(TVITEMW), buffer, textChars * sizeof(WCHAR));
        return narrow(buffer, wcslen(buffer));
    }

    std::vector<HTREEITEM> childrenOf(HTREEITEM parent) const
    {
        std::vector<HTREEITEM> items;
        if (parent)
            SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        HTREEITEM item = next(parent ? TVGN_CHILD : TVGN_ROOT, parent);
        while (item) {
            items.push_back(item);
            item = next(TVGN_NEXT, item);
        }
        return items;
    }

    HTREEITEM next(UINT relation, HTREEITEM from) const
    {
        return reinterpret_cast<HTREEITEM>(
            SendMessageA(tree_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
    }

    void select(HTREEITEM item) const
    {
        SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        SendMessageA(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    }

private:
    static constexpr int textChars = 520;
    HWND tree_;
    RemoteMemory memory_;
};

// A drive's item in the folder tree: "C:", "C:\" or a label with "(C:)".
bool isDriveItem(const std::string& text, const std::string& drive)
{
    if (sameTextIgnoringCase(text, drive) || sameTextIgnoringCase(text, drive + "\\"))
        return true;
    const std::string tag = "(" + drive + ")";
    std::string upper = text;
    CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    std::string upperTag = tag;
    CharUpperBuffA(&upperTag[0], static_cast<DWORD>(upperTag.size()));
    return upper.find(upperTag) != std::string::npos;
}

HTREEITEM findDrive(const RemoteTree& tree, HTREEITEM parent, const std::string& drive, int depth)
{
    const std::vector<HTREEITEM> items = tree.childrenOf(parent);
    for (HTREEITEM item : items) {
        if (isDriveItem(tree.text(item), drive))
            return item;
    }
    if (depth == 0)
        return nullptr;
    for (HTREEITEM item : items) {
        if (HTREEITEM found = findDrive(tree, item, drive, depth - 1))
            return found;
    }
    return nullptr;
}

} // namespace

std::wstring toWide(const std::string& text)
{
    return wide(text);
}

std::string fromWide(const std::wstring& text)
{
    return narrow(text.c_str(), text.size());
}

UINT setTextCodePage(UINT codePage)
{
    const UINT earlier = textCodePage;
    textCodePage = codePage;
    return earlier;
}

std::string windowText(HWND window)
{
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return std::string();
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
    return narrow(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void setWindowText(HWND window, const std::string& text)
{
    const std::wstring w = wide(text);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

std::string className(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string testBinDirectory()
{
    return testsupport::programDirectory();
}

// ---- ModalWindow ------------------------------------------------------------------------

std::string ModalWindow::staticText() const
{
    std::string joined;
    for (HWND child : children(window_)) {
        // The box's own texts; a skinned box's caption title lies on its caption strip.
        if (GetParent(child) != window_ || !sameTextIgnoringCase(className(child), "Static"))
            continue;
        const std::string text = windowText(child);
        if (text.empty())
            continue;
        if (!joined.empty())
            joined += '\n';
        joined += text;
    }
    return joined;
}

bool ModalWindow::clickButton(const std::string& text) const
{
    for (HWND child : children(window_)) {
        if (windowText(child) == text && GetParent(child) == window_) {
            PostMessageA(child, BM_CLICK, 0, 0);
            return true;
        }
    }
    return false;
}

void ModalWindow::command(int id) const
{
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

bool ModalWindow::waitClosed(DWORD timeoutMs) const
{
    return waitFor([&] { return !IsWindow(window_) || !IsWindowVisible(window_); }, timeoutMs);
}

HWND ModalWindow::editBox() const
{
    for (HWND child : children(window_)) {
        if (sameTextIgnoringCase(className(child), "Edit"))
            return child;
    }
    return nullptr;
}

bool ModalWindow::chooseFiles(const std::string& folder, const std::vector<std::string>& names) const
{
    // cmb13, the file-name box: a ComboBoxEx32 holding a ComboBox holding the Edit, or
    // (in older layouts) a plain combo box or edit.
    HWND box = GetDlgItem(window_, 0x47C);
    if (!box)
        return false;
    HWND edit = box;
    if (className(edit) == "ComboBoxEx32")
        edit = FindWindowExA(edit, nullptr, "ComboBox", nullptr);
    if (edit && className(edit) == "ComboBox")
        edit = FindWindowExA(edit, nullptr, "Edit", nullptr);
    if (!edit)
        return false;

    if (!folder.empty()) {
        setWindowText(edit, folder);
        command(IDOK);
        // The dialog opens the folder and empties the box.
        waitFor([&] { return windowText(edit).empty(); }, 3000);
        Sleep(100);
        if (!IsWindow(window_))
            return false;
    }
    std::string list;
    if (names.size() == 1) {
        list = names.front();
    } else {
        for (const std::string& name : names)
            list += "\"" + name + "\" ";
    }
    setWindowText(edit, list);
    command(IDOK);
    return true;
}

bool ModalWindow::selectFolder(const std::string& folder) const
{
    RemoteTree tree(FindWindowExA(window_, nullptr, "SysTreeView32", nullptr));
    if (!tree.valid() || folder.size() < 2 || folder[1] != ':')
        return false;
    HTREEITEM item = findDrive(tree, nullptr, folder.substr(0, 2), 2);
    if (!item)
        return false;
    // Split as characters: in a double-byte code page a name may end in the byte 0x5C.
    const std::wstring path = wide(folder);
    std::size_t at = 2;
    while (at < path.size()) {
        while (at < path.size() && path[at] == L'\\')
            ++at;
        if (at >= path.size())
            break;
        const std::size_t end = path.find(L'\\', at);
        const std::size_t length = (end == std::wstring::npos ? path.size() : end) - at;
        const std::string part = narrow(path.data() + at, length);
        at = end == std::wstring::npos ? path.size() : end;
        HTREEITEM match = nullptr;
        for (HTREEITEM child : tree.childrenOf(item)) {
            if (sameTextIgnoringCase(tree.text(child), part)) {
                match = child;
                break;
            }
        }
        if (!match)
            return false;
        item = match;
    }
    tree.select(item);
    return true;
}

std::string ModalWindow::selectedTreeItemText() const
{
    RemoteTree tree(FindWindowExA(window_, nullptr, "SysTreeView32", nullptr));
    if (!tree.valid())
        return std::string();
    HTREEITEM item = tree.next(TVGN_CARET, nullptr);
    return item ? tree.text(item) : std::string();
}

// ---- Program ----------------------------------------------------------------------------

Program::~Program()
{
    if (process_) {
        close();
        CloseHandle(process_);
    }
}

std::string Program::exePath()
{
    return testBinDirectory() + "Tessel2.exe";
}

std::string Program::handoffPath()
{
    return testBinDirectory() + "Tessel2.ts2";
}

bool Program::start(const StartOptions& options)
{
    error_.clear();
    directory_ = options.installDirectory.empty() ? testBinDirectory() : options.installDirectory;
    const std::string handoff = directory_ + "Tessel2.ts2";
    if (options.writeHandoff || !options.handoffPaths.empty() || !options.handoffRaw.empty()) {
        std::string content = options.handoffRaw;
        if (content.empty()) {
            for (const std::string& p : options.handoffPaths)
                content += p + "\r\n";
        }
        // Wide calls throughout: an installation folder may be longer than the ANSI calls
        // of the system take.
        HANDLE file = CreateFileW(wide(handoff).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error_ = "cannot write the handoff file";
            return false;
        }
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }

    const std::wstring exe = wide(directory_ + "Tessel2.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring directory = wide(directory_);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &info)) {
        error_ = "CreateProcess failed with " + std::to_string(GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitForInputIdle(process_, 10000);
    const std::string title = "Tesselwork 2";
    const bool found = waitFor([&] {
        main_ = findTopLevelDialog(processId_, nullptr, &title);
        return main_ != nullptr || !running();
    });
    if (!found || !main_) {
        error_ = running() ? "no main window titled Tesselwork 2" : "the program ended at start";
        return false;
    }
    return waitIdle();
}

bool Program::adopt(HWND main)
{
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process)
        return false;
    if (process_) {
        close();
        CloseHandle(process_);
    }
    process_ = process;
    processId_ = id;
    main_ = main;
    return waitIdle();
}

bool Program::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::waitIdle(DWORD timeoutMs) const
{
    DWORD_PTR result = 0;
    return main_ && SendMessageTimeoutA(main_, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

int Program::lineCount(int listId) const
{
    return static_cast<int>(SendMessageW(control(listId), LB_GETCOUNT, 0, 0));
}

std::vector<std::string> Program::lines(int listId) const
{
    HWND list = control(listId);
    std::vector<std::string> out;
    const int count = lineCount(listId);
    std::wstring buffer;
    for (int i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length <= 0) {
            out.emplace_back();
            continue;
        }
        buffer.assign(static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&buffer[0]));
        out.push_back(narrow(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0));
    }
    return out;
}

std::vector<int> Program::selectedLines(int listId) const
{
    std::vector<int> selected;
    const int count = lineCount(listId);
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(control(listId), LB_GETSEL, i, 0) > 0)
            selected.push_back(i);
    }
    return selected;
}

void Program::setText(int id, const std::string& text) const
{
    setWindowText(control(id), text);
}

void Program::type(int id, const std::string& characters) const
{
    const std::wstring w = wide(characters);
    for (wchar_t ch : w)
        SendMessageW(control(id), WM_CHAR, ch, 1);
}

void Program::typeQueued(int id, const std::string& characters) const
{
    const std::wstring w = wide(characters);
    for (wchar_t ch : w)
        PostMessageW(control(id), WM_CHAR, ch, 1);
}

void Program::click(int id) const
{
    SendMessageA(control(id), BM_CLICK, 0, 0);
    waitIdle();
}

void Program::clickAsync(int id) const
{
    PostMessageA(control(id), BM_CLICK, 0, 0);
}

bool Program::isEnabled(int id) const
{
    return IsWindowEnabled(control(id)) != FALSE;
}

bool Program::isVisible(int id) const
{
    return IsWindowVisible(control(id)) != FALSE;
}

bool Program::isChecked(int id) const
{
    return SendMessageA(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Program::setChecked(int id, bool checked) const
{
    if (isChecked(id) != checked)
        click(id);
}

std::vector<std::string> Program::comboItems(int id) const
{
    HWND combo = control(id);
    std::vector<std::string> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    std::wstring buffer;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
        buffer.assign(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT copied = SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&buffer[0]));
        items.push_back(narrow(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0));
    }
    return items;
}

void Program::selectComboItem(int id, int index) const
{
    HWND combo = control(id);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(main_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

ModalWindow Program::waitForModal(const std::string& title, DWORD timeoutMs) const
{
    HWND found = nullptr;
    waitFor([&] { return (found = findTopLevelDialog(processId_, main_, &title)) != nullptr; }, timeoutMs);
    return ModalWindow(found);
}

ModalWindow Program::findModal() const
{
    return ModalWindow(findTopLevelDialog(processId_, main_, nullptr));
}

bool Program::close(DWORD timeoutMs)
{
    if (!process_)
        return true;
    bool clean = false;
    if (running() && main_ && IsWindow(main_)) {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        const DWORD start = GetTickCount();
        while (running() && GetTickCount() - start < timeoutMs) {
            ModalWindow question = findModal();
            if (question && !question.clickButton("&Yes"))
                question.command(IDYES);
            Sleep(20);
        }
        clean = !running();
    }
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    main_ = nullptr;
    return clean;
}

namespace {

BOOL CALLBACK collectMainWindows(HWND window, LPARAM data)
{
    if (IsWindowVisible(window) && className(window) == "#32770" && windowText(window) == "Tesselwork 2")
        reinterpret_cast<std::set<HWND>*>(data)->insert(window);
    return TRUE;
}

} // namespace

std::set<HWND> programMainWindows()
{
    std::set<HWND> windows;
    EnumWindows(collectMainWindows, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND waitForNewMainWindow(const std::set<HWND>& before, DWORD timeoutMs)
{
    HWND found = nullptr;
    waitFor([&] {
        for (HWND window : programMainWindows()) {
            if (!before.count(window))
                found = window;
        }
        return found != nullptr;
    }, timeoutMs);
    return found;
}

} // namespace ui
