// The main window's template: every control with its identifier, kind, text, rectangle and
// style, read from the resource as the dialog manager reads it.

#include "app/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

enum Kind { Group, List, Button, Check, Edit, DropList, DropEdit, Label, CentredLabel };

struct ControlRow {
    int id;
    Kind kind;
    const char* text;
    RECT units; // left, top, width, height in dialog units
    bool disabled;
    bool hidden;
};

const ControlRow rows[] = {
    {IDC_FILE_LIST_GROUP, Group, "File list", {7, 33, 232, 96}, false, false},
    {IDC_FILE_LIST, List, "", {9, 42, 227, 84}, false, false},
    {IDC_ADD_FILES, Button, "", {8, 17, 13, 13}, false, false},
    {IDC_ADD_DIR, Button, "", {23, 17, 13, 13}, false, false},
    {IDC_SUBDIR, Check, "Subdir", {38, 19, 32, 10}, false, false},
    {IDC_FILTER, Edit, "", {96, 17, 86, 13}, false, false},
    {IDC_CASE, Check, "Case", {186, 19, 24, 10}, false, false},
    {IDC_EXCLUDE, Check, "Exclude", {214, 19, 37, 10}, false, false},
    {IDC_SELECT_ALL, Button, "R", {264, 17, 13, 13}, false, false},
    {IDC_INVERT, Button, "R", {279, 17, 13, 13}, false, false},
    {IDC_REMOVE_SELECTED, Button, "R", {295, 17, 13, 13}, false, false},
    {IDC_REMOVE_ALL, Button, "R", {310, 17, 13, 13}, false, false},
    {IDC_COPY_TO, Button, "M", {327, 17, 13, 13}, false, false},
    {IDC_MOVE_TO, Button, "M", {342, 17, 13, 13}, false, false},
    {IDC_QUICKVIEW_GROUP, Group, "QuickView", {240, 33, 116, 96}, false, false},
    {IDC_RULE_TARGET, DropList, "", {9, 138, 63, 32}, false, false},
    {IDC_RULE_ACTION, DropList, "", {75, 138, 63, 90}, false, false},
    {IDC_RULE_LIST, List, "", {139, 137, 214, 47}, false, false},
    {IDC_RULE_ARG1, DropEdit, "", {9, 154, 44, 48}, false, false},
    {IDC_RULE_ARG_LABEL, CentredLabel, "", {54, 155, 23, 11}, false, false},
    {IDC_RULE_ARG2, DropEdit, "", {79, 154, 59, 49}, true, false},
    {IDC_LOAD_BATCH, Button, "R", {9, 170, 13, 13}, false, false},
    {IDC_SAVE_BATCH, Button, "R", {24, 170, 13, 13}, false, false},
    {IDC_ADD_RULE, Button, "A", {77, 170, 13, 13}, false, false},
    {IDC_DELETE_RULE, Button, "D", {92, 170, 13, 13}, false, false},
    {IDC_RULE_UP, Button, "^", {109, 170, 13, 13}, false, false},
    {IDC_RULE_DOWN, Button, "R", {124, 170, 13, 13}, false, false},
    {IDC_RESULT_LIST, Edit, "", {9, 196, 344, 60}, false, false},
    {IDC_PREVIEW, Button, "&Preview", {7, 261, 42, 13}, false, false},
    {IDC_RENAME, Button, "&Rename", {51, 261, 42, 13}, false, false},
    {IDC_UNDO, Button, "&Undo", {95, 261, 42, 13}, true, false},
    {IDC_SAVE_LOG, Button, "R", {148, 261, 13, 13}, false, false},
    {IDC_QUICKVIEW, Check, "QuickView", {170, 263, 44, 10}, false, false},
    {IDC_SHELL_CONTEXT, Check, "Shell Context", {205, 263, 53, 10}, false, true},
    {IDC_UPDATE, Button, "R", {278, 261, 13, 13}, false, false},
    {IDC_WEB, Button, "W", {293, 261, 13, 13}, false, false},
    {IDC_MAIL, Button, "E", {308, 261, 13, 13}, false, false},
    {IDC_ABOUT, Button, "A", {327, 261, 13, 13}, false, false},
    {IDC_HELP_BUTTON, Button, "H", {342, 261, 13, 13}, false, false},
};

// One control of the template as stored in the resource.
struct TemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    short cx = 0, cy = 0;
    int pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

// Reads the extended dialog template the way the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : at_(data) {}

    WORD word() { WORD v; memcpy(&v, at_, 2); at_ += 2; return v; }
    DWORD dword() { DWORD v; memcpy(&v, at_, 4); at_ += 4; return v; }
    short sword() { return static_cast<short>(word()); }
    std::string string()
    {
        std::string out;
        for (WORD c; (c = word()) != 0;)
            out += static_cast<char>(c);
        return out;
    }
    // A name or an ordinal; ordinals of the system classes become their names.
    std::string nameOrOrdinal()
    {
        WORD first;
        memcpy(&first, at_, 2);
        if (first == 0xFFFF) {
            word();
            switch (word()) {
            case 0x80: return "Button";
            case 0x81: return "Edit";
            case 0x82: return "Static";
            case 0x83: return "ListBox";
            case 0x84: return "ScrollBar";
            case 0x85: return "ComboBox";
            default: return "#ordinal";
            }
        }
        return string();
    }
    void alignDword()
    {
        at_ = reinterpret_cast<const BYTE*>((reinterpret_cast<ULONG_PTR>(at_) + 3) & ~ULONG_PTR(3));
    }
    void skip(std::size_t n) { at_ += n; }

private:
    const BYTE* at_;
};

DialogTemplate loadTemplate(int id)
{
    DialogTemplate result;
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    if (!found)
        return result;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    TemplateReader r(data);
    if (r.word() != 1 || r.word() != 0xFFFF)
        return result;
    r.dword(); // help id
    r.dword(); // extended style
    result.style = r.dword();
    const WORD count = r.word();
    r.sword();
    r.sword();
    result.cx = r.sword();
    result.cy = r.sword();
    r.nameOrOrdinal(); // menu
    r.nameOrOrdinal(); // class
    r.string();        // title
    if (result.style & DS_SETFONT) {
        result.pointSize = r.word();
        r.word();
        r.skip(2);
        result.font = r.string();
    }
    for (WORD i = 0; i < count; ++i) {
        r.alignDword();
        TemplateItem item;
        r.dword();
        item.exStyle = r.dword();
        item.style = r.dword();
        item.x = r.sword();
        item.y = r.sword();
        item.cx = r.sword();
        item.cy = r.sword();
        item.id = static_cast<int>(r.dword());
        // A class given by name is stored as written; compare it in one spelling.
        item.className = r.nameOrOrdinal();
        for (const char* known : {"Button", "Edit", "Static", "ListBox", "ComboBox"})
            if (_stricmp(item.className.c_str(), known) == 0)
                item.className = known;
        item.text = r.nameOrOrdinal();
        r.skip(r.word());
        result.items.push_back(item);
    }
    return result;
}

const TemplateItem* findItem(const DialogTemplate& t, int id)
{
    for (const TemplateItem& item : t.items)
        if (item.id == id)
            return &item;
    return nullptr;
}

bool has(DWORD style, DWORD bits)
{
    return (style & bits) == bits;
}

TEST(MainTemplate, WindowHasTheTemplatesSizeFontAndStyles)
{
    const DialogTemplate t = loadTemplate(IDD_MAIN);
    EXPECT_EQ(t.cx, 362);
    EXPECT_EQ(t.cy, 277);
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.font, "Tahoma");
    EXPECT_TRUE(has(t.style, WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME));
    EXPECT_FALSE(has(t.style, WS_CAPTION)) << "the frame draws its own caption";
    EXPECT_EQ(t.items.size(), sizeof rows / sizeof *rows + 4) << "plus the label, the separator and two groups";
}

TEST(MainTemplate, EveryControlAsLaidOut)
{
    const DialogTemplate t = loadTemplate(IDD_MAIN);
    for (const ControlRow& row : rows) {
        SCOPED_TRACE("control " + std::to_string(row.id));
        const TemplateItem* item = findItem(t, row.id);
        ASSERT_NE(item, nullptr);
        const DWORD style = item->style;
        EXPECT_EQ(item->text, row.text);
        EXPECT_EQ(has(style, WS_DISABLED), row.disabled);
        EXPECT_EQ(!has(style, WS_VISIBLE), row.hidden);
        EXPECT_TRUE(has(style, WS_CHILD));
        EXPECT_EQ(item->x, row.units.left);
        EXPECT_EQ(item->y, row.units.top);
        EXPECT_EQ(item->cx, row.units.right);
        EXPECT_EQ(item->cy, row.units.bottom);

        switch (row.kind) {
        case Group:
            EXPECT_EQ(item->className, "Button");
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
            break;
        case List:
            EXPECT_EQ(item->className, "ListBox");
            EXPECT_TRUE(has(style, LBS_EXTENDEDSEL | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY |
                                       LBS_NOINTEGRALHEIGHT | WS_HSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP));
            EXPECT_FALSE(style & LBS_SORT);
            EXPECT_FALSE(style & LBS_OWNERDRAWFIXED);
            break;
        case Button:
            EXPECT_EQ(item->className, "Button");
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON)) << "no default button";
            break;
        case Check:
            EXPECT_EQ(item->className, "Button");
            EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX));
            break;
        case Edit:
            EXPECT_EQ(item->className, "Edit");
            EXPECT_TRUE(has(style, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP));
            if (row.id == IDC_RESULT_LIST) {
                EXPECT_TRUE(has(style, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL));
                EXPECT_FALSE(style & ES_WANTRETURN) << "Enter must not reach the edit";
            } else {
                EXPECT_FALSE(style & ES_MULTILINE);
            }
            break;
        case DropList:
            EXPECT_EQ(item->className, "ComboBox");
            EXPECT_EQ(style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));
            EXPECT_FALSE(style & CBS_SORT);
            break;
        case DropEdit:
            EXPECT_EQ(item->className, "ComboBox");
            EXPECT_EQ(style & 3, static_cast<DWORD>(CBS_DROPDOWN));
            EXPECT_TRUE(style & CBS_AUTOHSCROLL);
            EXPECT_FALSE(style & CBS_SORT);
            break;
        case Label:
        case CentredLabel:
            EXPECT_EQ(item->className, "Static");
            EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(row.kind == CentredLabel ? SS_CENTER : SS_LEFT));
            break;
        }
    }
}

TEST(MainTemplate, UnnamedControlsAreTheFilterLabelTheSeparatorAndTwoGroups)
{
    const DialogTemplate t = loadTemplate(IDD_MAIN);
    std::vector<std::string> found;
    for (const TemplateItem& item : t.items) {
        if (item.id != -1 && item.id != 0xFFFF)
            continue;
        found.push_back(item.className + ":" + item.text + ":" + std::to_string(item.x) + "," +
                        std::to_string(item.y) + "," + std::to_string(item.cx) + "," + std::to_string(item.cy));
        if (item.className == "Static" && item.text.empty()) {
            EXPECT_EQ(item.style & SS_TYPEMASK, static_cast<DWORD>(SS_GRAYRECT));
            EXPECT_TRUE(item.style & SS_SUNKEN);
        }
    }
    const std::vector<std::string> expected = {
        "Static:Filter::77,20,16,8",
        "Static::6,32,350,1",
        "Button:Rules for rename:7,129,349,57",
        "Button:Result list:7,186,349,72",
    };
    EXPECT_EQ(found, expected);
}

} // namespace
