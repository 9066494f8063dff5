// Helpers of the UI tests of the main window's commands.

#include "CommandsUiSupport.h"

#include <commctrl.h>

namespace commandsui {

namespace {

const char progId[] = "TesselTest.OpenRecorder";

} // namespace

void TestFolder::create(const std::string& name, const std::string& content) const
{
    writeFile(path() + name, content.empty() ? name : content);
}

ui::StartOptions TestFolder::handoff(const std::vector<std::string>& names) const
{
    ui::StartOptions options;
    for (const std::string& name : names)
        options.handoffPaths.push_back(path() + name);
    options.writeHandoff = true;
    return options;
}

ui::StartOptions TestFolder::createAndHandOff(const std::vector<std::string>& names) const
{
    for (const std::string& name : names)
        create(name);
    return handoff(names);
}

bool focus(ui::Program& app, int controlId)
{
    HWND main = app.mainWindow();
    SetForegroundWindow(main);
    // The dialog moves its own focus when asked; a cross-thread SetFocus would not.
    SendMessageA(main, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(app.control(controlId)), TRUE);
    app.waitIdle();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(main, nullptr);
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == app.control(controlId);
}

void selectLines(ui::Program& app, int listId, std::initializer_list<int> lines)
{
    SendMessageA(app.control(listId), LB_SETSEL, FALSE, -1);
    for (int line : lines)
        SendMessageA(app.control(listId), LB_SETSEL, TRUE, line);
}

void press(ui::Program& app, std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = key;
        inputs.push_back(in);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = *it;
        in.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // The keys reach the program's queue asynchronously; give them a moment, then wait
    // until its thread is idle again (a modal box keeps it busy only in its own loop).
    Sleep(150);
    app.waitIdle(5000);
}

OpenRecorder::OpenRecorder(std::initializer_list<const char*> extensions,
                           std::initializer_list<const char*> protocols)
{
    record_ = ui::testBinDirectory() + "opened-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(record_.c_str());
    const std::string command = "\"" + ui::testBinDirectory() + "OpenRecorder.exe\" \"" + record_ + "\" \"%1\"";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, (std::string(progId) + "\\shell\\open\\command").c_str(), 0, nullptr,
                        0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(key);
    }
    for (const char* extension : extensions)
        replaceDefaultValue(extension, progId);
    // The shell opens a URL with the command in its protocol's own key, not through a
    // program identifier.
    for (const char* protocol : protocols)
        replaceDefaultValue(std::string(protocol) + "\\shell\\open\\command", command);
}

void OpenRecorder::replaceDefaultValue(const std::string& keyPath, const std::string& value)
{
    Saved saved{keyPath, false, std::string()};
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char old[1024] = {0};
        DWORD size = sizeof old - 1;
        DWORD type = 0;
        if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS) {
            saved.existed = true;
            saved.value = old;
        }
        RegCloseKey(key);
    }
    saved_.push_back(saved);
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr)
        == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
}

OpenRecorder::~OpenRecorder()
{
    for (const Saved& saved : saved_) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, saved.keyPath.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
            continue;
        if (saved.existed)
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.value.c_str()),
                           static_cast<DWORD>(saved.value.size() + 1));
        else
            RegDeleteValueA(key, nullptr);
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(progId) + "\\shell\\open\\command").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(progId) + "\\shell\\open").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(progId) + "\\shell").c_str());
    RegDeleteKeyA(HKEY_CLASSES_ROOT, progId);
    DeleteFileA(record_.c_str());
}

std::vector<std::string> OpenRecorder::opened(std::size_t atLeast, DWORD timeoutMs) const
{
    std::vector<std::string> paths;
    auto readRecord = [&] {
        paths.clear();
        const std::string content = readFile(record_);
        std::size_t from = 0;
        for (std::size_t at = content.find("\r\n"); at != std::string::npos; at = content.find("\r\n", from)) {
            const std::string utf8 = content.substr(from, at - from);
            std::wstring path(utf8.size(), L'\0');
            path.resize(static_cast<std::size_t>(MultiByteToWideChar(
                CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &path[0], static_cast<int>(path.size()))));
            paths.push_back(ui::fromWide(path));
            from = at + 2;
        }
        return paths.size() >= atLeast;
    };
    if (atLeast == 0) {
        // Nothing is expected: give a wrongly started opening the time to show up.
        Sleep(timeoutMs < 1500 ? timeoutMs : 1500);
        readRecord();
        return paths;
    }
    ui::waitFor(readRecord, timeoutMs);
    return paths;
}

bool chooseFileName(const ui::ModalWindow& dialog, const std::string& path)
{
    HWND edit = nullptr;
    for (int id : {0x47C, 0x480}) {
        HWND box = GetDlgItem(dialog.hwnd(), id);
        if (!box)
            continue;
        edit = box;
        if (ui::className(edit) == "ComboBoxEx32")
            edit = FindWindowExA(edit, nullptr, "ComboBox", nullptr);
        if (edit && ui::className(edit) == "ComboBox")
            edit = FindWindowExA(edit, nullptr, "Edit", nullptr);
        if (edit)
            break;
    }
    if (!edit)
        return false;
    ui::setWindowText(edit, path);
    dialog.command(IDOK);
    return true;
}

bool chooseBatch(ui::Program& app, int commandId, const std::string& path)
{
    app.clickAsync(commandId);
    ui::ModalWindow dialog;
    if (!ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }))
        return false;
    return chooseFileName(dialog, path) && dialog.waitClosed() && app.waitIdle();
}

bool selectFolderAndConfirm(ui::Program& app, int commandId, std::string folder)
{
    app.clickAsync(commandId);
    ui::ModalWindow dialog;
    if (!ui::waitFor([&] { return static_cast<bool>(dialog = app.findModal()); }))
        return false;
    folder.pop_back(); // the tree is walked to a path without its last backslash
    if (!dialog.selectFolder(folder)) {
        dialog.command(IDCANCEL);
        dialog.waitClosed();
        return false;
    }
    Sleep(100);
    dialog.command(IDOK);
    return dialog.waitClosed() && app.waitIdle();
}

std::vector<std::pair<int, std::string>> tooltips(ui::Program& app)
{
    std::vector<std::pair<int, std::string>> found;
    DWORD processId = app.processId();
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return found;
    const SIZE_T textSize = 256;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(TOOLINFOA) + textSize,
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    // Every button keeps a tooltip window of its own: top-level windows of the program
    // owned by its main window.
    HWND tip = nullptr;
    while (remote && (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(tip, &owner);
        if (owner != processId || GetWindow(tip, GW_OWNER) != app.mainWindow())
            continue;
        const LRESULT count = SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            TOOLINFOA info = {};
            info.cbSize = TTTOOLINFOA_V1_SIZE;
            info.lpszText = remote + sizeof(TOOLINFOA);
            char zero[textSize] = {0};
            WriteProcessMemory(process, remote, &info, sizeof info, nullptr);
            WriteProcessMemory(process, remote + sizeof(TOOLINFOA), zero, textSize, nullptr);
            if (!SendMessageA(tip, TTM_ENUMTOOLSA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote)))
                continue;
            char text[textSize] = {0};
            ReadProcessMemory(process, remote, &info, sizeof info, nullptr);
            ReadProcessMemory(process, remote + sizeof(TOOLINFOA), text, textSize - 1, nullptr);
            // The tools are the controls themselves.
            HWND control = reinterpret_cast<HWND>(info.uId);
            found.emplace_back(GetDlgCtrlID(control), std::string(text));
        }
    }
    if (remote)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return found;
}

std::string answerMessage(ui::Program& app, const std::string& title, const std::string& button, DWORD timeoutMs)
{
    ui::ModalWindow box = app.waitForModal(title, timeoutMs);
    if (!box)
        return "<no message>";
    const std::string text = box.staticText();
    box.clickButton(button);
    box.waitClosed();
    app.waitIdle();
    return text;
}

} // namespace commandsui
